// The built-in 8 x 14 bitmap font for character codes 32..127.
#ifndef TAV_BITMAP_FONT_H
#define TAV_BITMAP_FONT_H

#include <cstdint>

enum {
    GlyphWidth = 8,       // pixels; bit 7 of a row byte is the leftmost
    GlyphHeight = 14,     // rows, top first; rows 11..13 hold descenders
    FirstGlyphCode = 32,  // space
    GlyphCount = 96,      // codes 32..127; 127 is blank like the space
};

// The 14 row bytes of a glyph, or nullptr for a code outside 32..127.
const uint8_t* GlyphBits(int code);

#endif
