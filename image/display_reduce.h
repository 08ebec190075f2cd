// Area-averaging reduction of an image into a display buffer: the half-tone
// display, done by the library itself so it looks the same on every platform.
#ifndef TAV_DISPLAY_REDUCE_H
#define TAV_DISPLAY_REDUCE_H

#include <cstdint>

// Every display pixel becomes the mean of the image area it covers, pixels
// covered in part counted by the covered fraction (weights exact to 1/65536).
// src: srcHeight top-down rows srcStride bytes apart, of srcWidth ColorWords
// (bits 32) or of indexes into `palette`, 256 ColorWords (bits 8).
// dst: dstWidth x dstHeight ColorWords, rows packed, top byte 0.
// All sizes at least 1. False, with dst untouched, when the work memory
// cannot be had.
bool ReduceImageArea(const uint8_t* src, int srcWidth, int srcHeight, int srcStride, int bits,
                     const uint32_t* palette, uint32_t* dst, int dstWidth, int dstHeight);

#endif
