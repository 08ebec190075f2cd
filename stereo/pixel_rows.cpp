// Row access to the converter's pixel buffers (see pixel_rows.h).
#include "stereo/pixel_rows.h"

#include <algorithm>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

int64_t stride8(int width) { return ((int64_t)width + 3) & ~(int64_t)3; }

bool inside(const StereoBuffer& b, int64_t x, int64_t y)
{
    return b.pixels != nullptr && (uint64_t)x < (uint64_t)b.width && (uint64_t)y < (uint64_t)b.height;
}

uint32_t* row32(const StereoBuffer& b, int64_t y) { return (uint32_t*)b.pixels + y * b.width; }
uint8_t* row8(const StereoBuffer& b, int64_t y) { return (uint8_t*)b.pixels + y * stride8(b.width); }

// Columns of [x0, x0 + n) that lie inside a row of the buffer: how many, from x0.
int64_t columns_inside(const StereoBuffer& b, int64_t x0, int64_t n)
{
    if (b.pixels == nullptr || x0 < 0 || x0 >= b.width) return 0;
    return std::min<int64_t>(n, b.width - x0);
}

} // namespace

uint32_t buffer_pixel(const StereoBuffer& b, int64_t x, int64_t y)
{
    if (!inside(b, x, y)) return 0;
    return b.bits == 8 ? row8(b, y)[x] : row32(b, y)[x];
}

void put_buffer_pixel(const StereoBuffer& b, int64_t x, int64_t y, uint32_t colour)
{
    if (!inside(b, x, y)) return;
    if (b.bits == 8) row8(b, y)[x] = (uint8_t)colour;
    else row32(b, y)[x] = colour;
}

uint32_t* RowScratch::get(int64_t n)
{
    if ((int64_t)words.size() < n + 1) words.resize((size_t)n + 1);
    return words.data();
}

const uint32_t* source_row(const StereoBuffer& b, int64_t y, int64_t x0, int64_t n, RowScratch& scratch)
{
    bool rowInside = b.pixels != nullptr && (uint64_t)y < (uint64_t)b.height;
    int64_t have = rowInside ? columns_inside(b, x0, n) : 0;
    if (have == n && n > 0 && b.bits != 8) return row32(b, y) + x0;
    uint32_t* out = scratch.get(n);
    if (b.bits == 8) {
        const uint8_t* in = have > 0 ? row8(b, y) + x0 : nullptr;
        for (int64_t i = 0; i < have; ++i) out[i] = in[i];
    } else if (have > 0) {
        memcpy(out, row32(b, y) + x0, (size_t)have * sizeof(uint32_t));
    }
    std::fill(out + have, out + n, 0u);
    return out;
}

TargetRow target_row(const StereoBuffer& b, int64_t y, int64_t x0, int64_t n, RowScratch& scratch)
{
    TargetRow row = {nullptr, 0};
    if (b.pixels == nullptr || (uint64_t)y >= (uint64_t)b.height) return row;
    row.limit = columns_inside(b, x0, n);
    if (row.limit <= 0) {
        row.limit = 0;
        return row;
    }
    if (b.bits != 8) {
        row.words = row32(b, y) + x0;
        return row;
    }
    row.words = scratch.get(row.limit);
    const uint8_t* in = row8(b, y) + x0;
    for (int64_t i = 0; i < row.limit; ++i) row.words[i] = in[i];
    return row;
}

void commit_row(const StereoBuffer& b, int64_t y, int64_t x0, const TargetRow& row)
{
    if (b.bits != 8 || row.limit <= 0) return;
    uint8_t* out = row8(b, y) + x0;
    for (int64_t i = 0; i < row.limit; ++i) out[i] = (uint8_t)row.words[i];
}

void copy_row(const StereoBuffer& from, const StereoBuffer& to, int64_t y, int64_t x0, int64_t n,
              RowScratch& a, RowScratch& b)
{
    TargetRow out = target_row(to, y, x0, n, b);
    if (out.limit <= 0) return;
    const uint32_t* in = source_row(from, y, 0, out.limit, a);
    memcpy(out.words, in, (size_t)out.limit * sizeof(uint32_t));
    commit_row(to, y, x0, out);
}

void fill_row(const StereoBuffer& b, int64_t y, int64_t x0, int64_t x1, uint32_t colour)
{
    if (b.pixels == nullptr || (uint64_t)y >= (uint64_t)b.height) return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, (int64_t)b.width - 1);
    if (x0 > x1) return;
    if (b.bits == 8) memset(row8(b, y) + x0, (uint8_t)colour, (size_t)(x1 - x0 + 1));
    else std::fill(row32(b, y) + x0, row32(b, y) + x1 + 1, colour);
}

void stream_row(uint32_t* to, const uint32_t* from, int64_t n)
{
    int64_t i = 0;
#ifdef __SSE2__
    for (; i < n && ((uintptr_t)(to + i) & 15) != 0; ++i) to[i] = from[i];
    for (; i + 4 <= n; i += 4) _mm_stream_si128((__m128i*)(to + i), _mm_loadu_si128((const __m128i*)(from + i)));
#endif
    for (; i < n; ++i) to[i] = from[i];
}

void stream_done(void)
{
#ifdef __SSE2__
    _mm_sfence();
#endif
}
