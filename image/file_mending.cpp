// Mending indexed picture files (see file_mending.h).
#include "image/file_mending.h"

bool FixBmpSizeField(uint8_t header[6], uint64_t fileSize)
{
    if (header[0] != 'B' || header[1] != 'M' || fileSize > 0xFFFFFFFFu) return false;
    uint32_t field = (uint32_t)header[2] | (uint32_t)header[3] << 8 | (uint32_t)header[4] << 16 |
                     (uint32_t)header[5] << 24;
    if (field == fileSize) return false;
    for (int i = 0; i < 4; ++i) header[2 + i] = (uint8_t)(fileSize >> (8 * i));
    return true;
}

// Reads an unsigned value of `bytes` bytes in the file's byte order.
static uint32_t TiffValue(const uint8_t* p, int bytes, bool bigEndian)
{
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= (uint32_t)p[bigEndian ? bytes - 1 - i : i] << (8 * i);
    return v;
}

bool FixTiffColorMap(uint8_t* file, size_t size)
{
    if (size < 8) return false;
    bool bigEndian = file[0] == 'M' && file[1] == 'M';
    if (!bigEndian && !(file[0] == 'I' && file[1] == 'I')) return false;
    if (TiffValue(file + 2, 2, bigEndian) != 42) return false;
    uint64_t ifd = TiffValue(file + 4, 4, bigEndian);
    if (ifd + 2 > size) return false;
    uint32_t entries = TiffValue(file + ifd, 2, bigEndian);
    if (ifd + 2 + 12ull * entries > size) return false;
    for (uint32_t e = 0; e < entries; ++e) {
        const uint8_t* entry = file + ifd + 2 + 12 * e;
        enum { ColorMapTag = 320, ShortType = 3 };
        if (TiffValue(entry, 2, bigEndian) != ColorMapTag) continue;
        uint32_t count = TiffValue(entry + 4, 4, bigEndian);
        if (TiffValue(entry + 2, 2, bigEndian) != ShortType || count < 6 || count % 3 != 0) return false;
        uint64_t at = TiffValue(entry + 8, 4, bigEndian);
        if (at + 2ull * count > size) return false;
        uint8_t* map = file + at;
        bool shifted = false;
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t v = TiffValue(map + 2 * i, 2, bigEndian);
            if (v & 0xFF) return false; // not the v << 8 form
            if (v) shifted = true;
        }
        if (!shifted) return false;
        for (uint32_t i = 0; i < count; ++i) {
            uint8_t high = map[2 * i + (bigEndian ? 0 : 1)];
            map[2 * i] = map[2 * i + 1] = high; // v * 257: both bytes v
        }
        return true;
    }
    return false;
}
