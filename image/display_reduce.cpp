// Area-averaging reduction (see display_reduce.h).
//
// Along one axis, display pixel i covers the image span [i*n/m, (i+1)*n/m)
// for n image and m display pixels. Measured in units of 1/m image pixel the
// ends are whole numbers, so the covered part of each image pixel is exact;
// its weight is the difference of two rounded running totals, so the weights
// of one display pixel add up to exactly 65536. Rows are reduced across
// first, then the reduced rows are summed down with the row weights.
#include "image/display_reduce.h"

#include <cstdlib>

namespace {

enum { WeightOne = 65536 };

// The image pixels each display pixel takes along one axis: first[i] and
// count[i] name them, their weights follow one another in `weight`.
struct AxisTaps {
    int* first;
    int* count;
    uint32_t* weight;
};

void BuildAxisTaps(int n, int m, AxisTaps& taps)
{
    int next = 0;
    for (int i = 0; i < m; ++i) {
        const int64_t start = (int64_t)i * n, end = start + n; // in 1/m image pixels
        const int first = (int)(start / m);
        const int last = (int)((end + m - 1) / m) - 1;
        taps.first[i] = first;
        taps.count[i] = last - first + 1;
        int64_t previous = 0;
        for (int s = first; s <= last; ++s) {
            int64_t covered = (int64_t)(s + 1) * m;
            if (covered > end) covered = end;
            const int64_t total = ((covered - start) * WeightOne + n / 2) / n;
            taps.weight[next++] = (uint32_t)(total - previous);
            previous = total;
        }
    }
}

// Reduces one image row across into `sums` (three channel sums per display
// pixel, scaled by WeightOne).
void ReduceRow(const uint32_t* row, int m, const AxisTaps& taps, uint32_t* sums)
{
    const uint32_t* weight = taps.weight;
    for (int i = 0; i < m; ++i) {
        const uint32_t* p = row + taps.first[i];
        uint32_t r = 0, g = 0, b = 0;
        for (int k = 0; k < taps.count[i]; ++k) {
            const uint32_t c = p[k], w = weight[k];
            r += ((c >> 16) & 0xFF) * w;
            g += ((c >> 8) & 0xFF) * w;
            b += (c & 0xFF) * w;
        }
        weight += taps.count[i];
        sums[3 * i] = r;
        sums[3 * i + 1] = g;
        sums[3 * i + 2] = b;
    }
}

} // namespace

bool ReduceImageArea(const uint8_t* src, int srcWidth, int srcHeight, int srcStride, int bits,
                     const uint32_t* palette, uint32_t* dst, int dstWidth, int dstHeight)
{
    const int n = srcWidth, m = dstWidth;
    // One block of work memory: taps of both axes, one row widened to
    // ColorWords (8-bit images), one reduced row and the column sums.
    const size_t bytes = sizeof(int) * 2 * ((size_t)m + dstHeight) +
                         sizeof(uint32_t) * ((size_t)n + m + srcHeight + dstHeight) +
                         sizeof(uint32_t) * (size_t)n + sizeof(uint32_t) * 3 * (size_t)m +
                         sizeof(uint64_t) * 3 * (size_t)m;
    char* block = (char*)malloc(bytes);
    if (!block) return false;
    uint64_t* acc = (uint64_t*)block; // first, for its alignment
    char* cursor = block + sizeof(uint64_t) * 3 * (size_t)m;
    auto take = [&cursor](size_t size) { char* p = cursor; cursor += size; return p; };
    AxisTaps across = {(int*)take(sizeof(int) * m), (int*)take(sizeof(int) * m),
                       (uint32_t*)take(sizeof(uint32_t) * ((size_t)n + m))};
    AxisTaps down = {(int*)take(sizeof(int) * dstHeight), (int*)take(sizeof(int) * dstHeight),
                     (uint32_t*)take(sizeof(uint32_t) * ((size_t)srcHeight + dstHeight))};
    uint32_t* wide = (uint32_t*)take(sizeof(uint32_t) * n);
    uint32_t* sums = (uint32_t*)take(sizeof(uint32_t) * 3 * m);
    BuildAxisTaps(n, m, across);
    BuildAxisTaps(srcHeight, dstHeight, down);

    const uint32_t* rowWeight = down.weight;
    int reducedRow = -1; // image row now held in `sums`
    for (int j = 0; j < dstHeight; ++j) {
        for (int i = 0; i < 3 * m; ++i) acc[i] = 0;
        for (int k = 0; k < down.count[j]; ++k) {
            const int y = down.first[j] + k;
            if (y != reducedRow) {
                const uint8_t* line = src + (size_t)y * (size_t)srcStride;
                const uint32_t* row = (const uint32_t*)line;
                if (bits == 8) {
                    for (int x = 0; x < n; ++x) wide[x] = palette[line[x]];
                    row = wide;
                }
                ReduceRow(row, m, across, sums);
                reducedRow = y;
            }
            const uint64_t w = rowWeight[k];
            for (int i = 0; i < 3 * m; ++i) acc[i] += sums[i] * w;
        }
        rowWeight += down.count[j];
        uint32_t* out = dst + (size_t)j * (size_t)m;
        const uint64_t half = (uint64_t)1 << 31;
        for (int i = 0; i < m; ++i)
            out[i] = (uint32_t)((acc[3 * i] + half) >> 32) << 16 | (uint32_t)((acc[3 * i + 1] + half) >> 32) << 8 |
                     (uint32_t)((acc[3 * i + 2] + half) >> 32);
    }
    free(block);
    return true;
}
