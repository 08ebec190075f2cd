// Block copies between the current image and a caller's packed buffer:
// ColorWords for a 32-bit image, bytes for an 8-bit one, w elements a row.
// Coordinates are compared as unsigned, so negative ones fall outside.
#include <cstddef>

#include "image/image_table.h"
#include "tavkit.h"

void TAV_ReadImageBlock(void* buffer, int x, int y, int w, int h)
{
    if (!ImageInUse(CurrentImage) || w <= 0 || h <= 0) return;
    const ImageSlot& s = ImageTable[CurrentImage];
    const unsigned width = (unsigned)s.width, height = (unsigned)s.height;
    for (int j = 0; j < h; ++j) {
        const unsigned sy = (unsigned)y + (unsigned)j;
        for (int k = 0; k < w; ++k) {
            const unsigned sx = (unsigned)x + (unsigned)k;
            const size_t out = (size_t)j * (size_t)w + (size_t)k;
            const bool inside = sx < width && sy < height;
            if (s.bits == 32)
                ((uint32_t*)buffer)[out] = inside ? Pixels32[CurrentImage][(size_t)sy * width + sx] : 0;
            else
                ((uint8_t*)buffer)[out] = inside ? Pixels8[CurrentImage][(size_t)sy * Stride8(s.width) + sx] : 0;
        }
    }
}

void TAV_WriteImageBlock(const void* buffer, int x, int w, int h)
{
    if (!ImageInUse(CurrentImage) || w <= 0 || h <= 0) return;
    const ImageSlot& s = ImageTable[CurrentImage];
    const unsigned width = (unsigned)s.width;
    const int rows = h < s.height ? h : s.height;
    for (int j = 0; j < rows; ++j) {
        for (int k = 0; k < w; ++k) {
            const unsigned dx = (unsigned)x + (unsigned)k;
            if (dx >= width) continue;
            const size_t in = (size_t)j * (size_t)w + (size_t)k;
            if (s.bits == 32)
                Pixels32[CurrentImage][(size_t)j * width + dx] = ((const uint32_t*)buffer)[in];
            else
                Pixels8[CurrentImage][(size_t)j * Stride8(s.width) + dx] = ((const uint8_t*)buffer)[in];
        }
    }
}
