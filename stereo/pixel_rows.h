// Plain pixel buffers of the converter's images and row access to them with
// the results of the single-pixel operations: a read outside a buffer gives
// 0, a write outside it is dropped, an 8-bit pixel reads as its zero-extended
// byte and stores the low byte of a colour.
#ifndef STEREO_PIXEL_ROWS_H
#define STEREO_PIXEL_ROWS_H

#include <cstdint>
#include <vector>
#ifdef __SSE2__
#include <xmmintrin.h>
#endif

#include "stereo/parameters.h"

// One image's pixel buffer, laid out as the image table keeps it.
struct StereoBuffer {
    void* pixels; // first pixel (top row first); nullptr: the image does not exist
    int width;    // pixels, >= 1 when the image exists
    int height;   // pixels, >= 1 when the image exists
    int bits;     // 32: packed ColorWords 0x00RRGGBB; 8: bytes, rows padded to a multiple of 4
};

// The converter's images 0..4 (StereoImageNumber), as the conversion loop
// sees them before a step.
struct StereoImages {
    StereoBuffer image[StereoImageCount];
};

inline bool buffer_exists(const StereoBuffer& b) { return b.pixels != nullptr; }

// Largest channel of a colour (its value V); the top byte is ignored.
inline int colour_value(uint32_t c)
{
    int r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
    int m = r > g ? r : g;
    return m > b ? m : b;
}

// Loops that stream a picture from memory ask for the data some 16 KB ahead
// (about a row of a large picture); the hardware alone fetches far less far
// ahead. A prefetch never faults, so the address may lie past the buffer.
enum { PrefetchAhead = 4096 }; // ColorWords
inline void prefetch_ahead(const uint32_t* p)
{
#ifdef __SSE2__
    _mm_prefetch((const char*)(p + PrefetchAhead), _MM_HINT_T0);
#else
    (void)p;
#endif
}

// A single pixel read and write with the bounds test of the pixel operations.
uint32_t buffer_pixel(const StereoBuffer& b, int64_t x, int64_t y);
void put_buffer_pixel(const StereoBuffer& b, int64_t x, int64_t y, uint32_t colour);

// A scratch row of ColorWords, grown on demand and kept for the step.
struct RowScratch {
    std::vector<uint32_t> words;
    uint32_t* get(int64_t n);
};

// Columns [x0, x0 + n) of row y as ColorWords. Points into the buffer when it
// is 32-bit and holds them all; otherwise fills `scratch` with what single
// pixel reads give. n >= 0, x0 >= 0.
const uint32_t* source_row(const StereoBuffer& b, int64_t y, int64_t x0, int64_t n, RowScratch& scratch);

// Row y of a target from column x0 on: `words[i]` is column x0 + i, and only
// i < limit may be written (limit is 0 for a row outside the buffer).
struct TargetRow {
    uint32_t* words;
    int64_t limit;
};
// Opens `n` columns of row y for writing. A 32-bit buffer is written in place;
// an 8-bit one through `scratch`, loaded with the current bytes, which
// commit_row stores back.
TargetRow target_row(const StereoBuffer& b, int64_t y, int64_t x0, int64_t n, RowScratch& scratch);
void commit_row(const StereoBuffer& b, int64_t y, int64_t x0, const TargetRow& row);

// Copies columns [0, n) of row y of `from` into row y of `to` from column x0,
// as pixel reads and writes would.
void copy_row(const StereoBuffer& from, const StereoBuffer& to, int64_t y, int64_t x0, int64_t n,
              RowScratch& a, RowScratch& b);

// Copies n ColorWords to `to` with stores that bypass the cache (the row is
// not read again soon); stream_done orders them before anything that follows.
void stream_row(uint32_t* to, const uint32_t* from, int64_t n);
void stream_done(void);
// Row y of a 32-bit buffer.
inline uint32_t* row_words(const StereoBuffer& b, int64_t y) { return (uint32_t*)b.pixels + y * b.width; }

// Fills columns [x0, x1] (inclusive) of row y with `colour`, clipped.
void fill_row(const StereoBuffer& b, int64_t y, int64_t x0, int64_t x1, uint32_t colour);

#endif
