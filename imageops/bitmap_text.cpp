// Bitmap-font text drawn into the current image at TextCursor in tav_tc.
#include <cstdarg>
#include <cstdio>

#include "imageops/bitmap_font.h"
#include "imageops/drawing_state.h"
#include "imageops/pixel_access.h"
#include "tavkit.h"

namespace {

enum { LineAdvance = 16, DrawTextBytes = 4096 };

void NewLine()
{
    TextCursor.x = TextCursor.leftMargin;
    TextCursor.y += LineAdvance;
}

} // namespace

void TAV_DrawChar(int code)
{
    const unsigned char c = (unsigned char)code;
    if (c == '\n') {
        NewLine();
        return;
    }
    const uint8_t* glyph = GlyphBits(c);
    if (!glyph) return;
    const int top = TextCursor.y - GlyphHeight;
    for (int r = 0; r < GlyphHeight; ++r) {
        for (int k = 0; k < GlyphWidth; ++k) {
            if (glyph[r] & (0x80 >> k)) TAV_SetPixel(TextCursor.x + k, top + r, tav_tc);
        }
    }
    TextCursor.x += GlyphWidth;
    // Wraps at the right edge of the current image; without an image there is
    // no edge to wrap at.
    const ImageSlot* slot = CurrentSlot();
    if (slot && TextCursor.x > slot->width - GlyphWidth) NewLine();
}

void TAV_DrawString(const char* text)
{
    if (!text) return;
    for (const char* p = text; *p; ++p) TAV_DrawChar((unsigned char)*p);
}

void TAV_DrawText(const char* format, ...)
{
    char text[DrawTextBytes];
    va_list args;
    va_start(args, format);
    const int n = vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n < 0) return;
    TAV_DrawString(text);
}
