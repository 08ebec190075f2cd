// Layout of a packed device-independent bitmap (see dib_block.h).
#include "image/dib_block.h"

static uint32_t ReadU32(const uint8_t* p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

static uint16_t ReadU16(const uint8_t* p) { return (uint16_t)(p[0] | (p[1] << 8)); }

static bool KnownHeaderSize(uint32_t size)
{
    return size == 40 || size == 108 || size == 124; // info, version 4 and version 5 headers
}

static bool KnownBitCount(int bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

enum { CompressionNone = 0, CompressionBitFields = 3 };

bool ReadDibLayout(const uint8_t* block, size_t size, DibLayout* layout)
{
    if (!block || size < 40) return false;
    uint32_t headerSize = ReadU32(block);
    if (!KnownHeaderSize(headerSize) || headerSize > size) return false;
    int32_t width = (int32_t)ReadU32(block + 4);
    int32_t height = (int32_t)ReadU32(block + 8);
    int planes = ReadU16(block + 12);
    int bits = ReadU16(block + 14);
    uint32_t compression = ReadU32(block + 16);
    uint32_t colorsUsed = ReadU32(block + 32);

    if (planes != 1 || !KnownBitCount(bits)) return false;
    if (width < 1 || width > MaxDibSide) return false;
    // Compared in 64 bits: the height's magnitude, INT32_MIN included.
    int64_t rows = height < 0 ? -(int64_t)height : (int64_t)height;
    if (rows < 1 || rows > MaxDibSide) return false;
    if ((int64_t)width * rows > MaxDibPixels) return false;

    size_t maskBytes = 0;
    if (compression == CompressionBitFields) {
        if (bits != 16 && bits != 32) return false;
        if (headerSize == 40) maskBytes = 12; // red, green and blue masks follow a 40-byte header
    } else if (compression != CompressionNone) {
        return false;
    }

    uint32_t tableEntries;
    int paletteColors = 0;
    if (bits <= 8) {
        uint32_t most = 1u << bits;
        if (colorsUsed > most) return false;
        tableEntries = colorsUsed ? colorsUsed : most;
        paletteColors = (int)tableEntries;
    } else {
        // An optional table of colours the picture uses; the rows follow it.
        if (colorsUsed > MaxDibColors) return false;
        tableEntries = colorsUsed;
    }

    uint64_t tableOffset = (uint64_t)headerSize + maskBytes;
    uint64_t bitsOffset = tableOffset + 4ull * tableEntries;
    uint64_t stride = (((uint64_t)width * (uint64_t)bits + 31) / 32) * 4;
    uint64_t bitsBytes = stride * (uint64_t)rows;
    if (bitsOffset > size || bitsBytes > size - bitsOffset) return false;

    layout->headerSize = (int)headerSize;
    layout->width = width;
    layout->height = height;
    layout->bitCount = bits;
    layout->compression = (int)compression;
    layout->paletteColors = paletteColors;
    layout->colorTableOffset = (size_t)tableOffset;
    layout->bitsOffset = (size_t)bitsOffset;
    layout->bitsBytes = (size_t)bitsBytes;
    return true;
}
