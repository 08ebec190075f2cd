// Reading the layout of a packed device-independent bitmap (the clipboard's
// CF_DIB block) written by another program, without trusting any of its
// fields: every offset and size is checked against the block's real size.
#ifndef TAV_DIB_BLOCK_H
#define TAV_DIB_BLOCK_H

#include <cstddef>
#include <cstdint>

enum {
    MaxDibSide = 32768,           // widest and highest picture taken from the clipboard
    MaxDibColors = 256,           // colour table entries handed back
};
const int64_t MaxDibPixels = (int64_t)1 << 27; // 128 M pixels (512 MB as a 32-bit image)

struct DibLayout {
    int headerSize;        // 40, 108 or 124
    int width;             // 1..MaxDibSide
    int height;            // as stored: positive bottom-up, negative top-down
    int bitCount;          // 1, 4, 8, 16, 24 or 32
    int compression;       // 0 none, 3 bit fields (16 and 32 bits only)
    int paletteColors;     // entries of the colour table for 8 bits or fewer (else 0), at most 256
    size_t colorTableOffset; // where the colour table starts (after the header and any masks)
    size_t bitsOffset;     // where the pixel rows start
    size_t bitsBytes;      // stride x rows
};

// Fills `layout` and returns true when `block` (of `size` bytes) holds a
// complete, consistent bitmap this program can take; false for anything else:
// unknown header sizes, planes other than 1, bit counts outside the list,
// compressed rows, widths or heights of 0, negative or beyond the limits, a
// colours-used field larger than the bit count allows, or a colour table or
// rows that reach past the end of the block.
bool ReadDibLayout(const uint8_t* block, size_t size, DibLayout* layout);

#endif
