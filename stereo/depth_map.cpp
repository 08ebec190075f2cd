// The four depth maps (see depth_map.h).
//
// Every level is a function of the pixel's largest and smallest channel, so
// the step folds the S-correction table, the gamma table and the depth
// direction into one 256-entry table of grey ColorWords, indexed by the
// step's colour measure, and runs one pass over the rows.
#include "stereo/depth_map.h"
#include "stereo/conversion_rows.h"

#include <algorithm>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

const DepthMapStep DepthMapSteps[DepthMapKindCount] = {
    {3, "S_map\n", 32},
    {2, "V_map\n", 64},
    {8, "S_map_mod\n", 64},
    {9, "S_map_modV\n", 64},
};

namespace {

// grey[i]: the ColorWord written for colour measure i.
void build_grey_table(int kind, uint32_t grey[256])
{
    bool corrected = kind == SModMap || kind == SModVMap;
    for (int i = 0; i < 256; ++i) {
        int level = GammaTable[corrected ? SCorrectTable[i] : i];
        if (Stereo.reverse_depth) level = 255 - level;
        grey[i] = (uint32_t)level * 0x010101u;
    }
}

// S_mod is held within 0..10 by its buttons; taking it into that range here
// keeps every table index within 0..255 whatever it holds.
int held_s_mod(void) { return std::min(std::max(Stereo.S_mod, 0), 10); }

// dark[M] = ((255 - M) * S_mod) / 10: the darkness term of the modified
// saturation, per largest channel M.
void build_dark_table(int sMod, uint8_t dark[256])
{
    for (int m = 0; m < 256; ++m) dark[m] = (uint8_t)((255 - m) * sMod / 10);
}

#ifdef __SSE2__
// Pixels 0 .. 4k-1 of depth_row, four at a time; returns 4k. The colour
// measure comes out of byte-wise max and min of the pixel and its shifts;
// the darkness term, at most 255 * 10 = 2550 before the division, is
// divided by 10 exactly as (x * 6554) >> 16 (exact up to x = 16388).
template <int Kind>
int64_t depth_quads(const uint32_t* in, uint32_t* out, int64_t n, const uint32_t* grey, int sMod)
{
    const __m128i lowByte = _mm_set1_epi32(255), mod = _mm_set1_epi32(sMod), tenth = _mm_set1_epi32(6554);
    int64_t i = 0;
    for (; i + 4 <= n; i += 4) {
        if ((i & 15) == 0) prefetch_ahead(in + i);
        __m128i c = _mm_loadu_si128((const __m128i*)(in + i));
        __m128i g = _mm_srli_epi32(c, 8), r = _mm_srli_epi32(c, 16);
        __m128i hi = _mm_and_si128(_mm_max_epu8(_mm_max_epu8(c, g), r), lowByte);
        __m128i lo = _mm_and_si128(_mm_min_epu8(_mm_min_epu8(c, g), r), lowByte);
        __m128i dark = _mm_mulhi_epu16(_mm_mullo_epi16(_mm_sub_epi32(lowByte, hi), mod), tenth);
        __m128i index;
        if (Kind == SMap) index = _mm_sub_epi32(hi, lo);
        else if (Kind == VMap) index = hi;
        else if (Kind == SModMap) index = _mm_sub_epi32(_mm_add_epi32(dark, hi), lo);
        else index = _mm_add_epi32(hi, _mm_subs_epu16(dark, lo)); // max(ms, V)
        alignas(16) uint32_t at[4];
        _mm_store_si128((__m128i*)at, index);
        out[i] = grey[at[0]];
        out[i + 1] = grey[at[1]];
        out[i + 2] = grey[at[2]];
        out[i + 3] = grey[at[3]];
    }
    return i;
}
#endif

template <int Kind>
void depth_row(const uint32_t* in, uint32_t* out, int64_t n, const DepthMapRows& rows)
{
    int64_t i = 0;
#ifdef __SSE2__
    i = depth_quads<Kind>(in, out, n, rows.grey, rows.sMod);
#endif
    for (; i < n; ++i) {
        uint32_t c = in[i];
        int r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
        int hi = std::max(std::max(r, g), b);
        int lo = std::min(std::min(r, g), b);
        int index;
        if (Kind == SMap) index = hi - lo;
        else if (Kind == VMap) index = hi;
        else if (Kind == SModMap) index = rows.dark[hi] + hi - lo;
        else index = hi + std::max(rows.dark[hi] - lo, 0); // max(ms, V)
        out[i] = rows.grey[index];
    }
}

typedef void (*DepthRow)(const uint32_t*, uint32_t*, int64_t, const DepthMapRows&);
const DepthRow DepthRows[DepthMapKindCount] = {depth_row<SMap>, depth_row<VMap>, depth_row<SModMap>,
                                               depth_row<SModVMap>};

// Per pixel the step selects image 0, reads, selects image 1 and writes
// (moving the pen): the last pixels decide the end state.
void trace_depth_map(const StereoBuffer& picture, StereoTrace* trace)
{
    if (trace == nullptr) return;
    int64_t total = (int64_t)picture.width * picture.height;
    for (int64_t i = std::max<int64_t>(total - TraceDepth, 0); i < total; ++i) {
        trace_select(trace, PictureImage);
        trace_select(trace, DepthImage);
        trace_pen(trace, DepthImage, i % picture.width, i / picture.width);
    }
}

} // namespace

bool begin_depth_map(DepthMapRows& rows, int kind, const StereoImages* images)
{
    if ((unsigned)kind >= DepthMapKindCount) return false;
    const StereoBuffer& picture = images->image[PictureImage];
    if (!buffer_exists(picture)) return false;
    Stereo.shift = picture.width / DepthMapSteps[kind].shiftDivisor;
    if (!buffer_exists(images->image[DepthImage])) return false;
    rows.kind = kind;
    rows.images = images;
    build_grey_table(kind, rows.grey);
    rows.sMod = held_s_mod();
    build_dark_table(rows.sMod, rows.dark);
    return true;
}

int64_t depth_map_rows(const DepthMapRows& rows)
{
    return std::min(rows.images->image[PictureImage].height, rows.images->image[DepthImage].height);
}

void depth_map_row(DepthMapRows& rows, int64_t y)
{
    const StereoBuffer& picture = rows.images->image[PictureImage];
    const StereoBuffer& depth = rows.images->image[DepthImage];
    rows.lastRow = nullptr;
    if (depth.bits != 8) { // built in the cache, streamed out
        int64_t n = std::min(picture.width, depth.width);
        uint32_t* out = rows.out.get(n);
        DepthRows[rows.kind](source_row(picture, y, 0, n, rows.in), out, n, rows);
        stream_row(row_words(depth, y), out, n);
        if (n == depth.width) rows.lastRow = out;
        return;
    }
    TargetRow row = target_row(depth, y, 0, picture.width, rows.out);
    if (row.limit <= 0) return;
    DepthRows[rows.kind](source_row(picture, y, 0, row.limit, rows.in), row.words, row.limit, rows);
    commit_row(depth, y, 0, row);
}

void end_depth_map(const DepthMapRows& rows, StereoTrace* trace)
{
    stream_done();
    Stereo.depth_loaded = 0;
    trace_depth_map(rows.images->image[PictureImage], trace);
}

void run_depth_map(int kind, const StereoImages* images, StereoTrace* trace)
{
    DepthMapRows rows;
    if (!begin_depth_map(rows, kind, images)) return;
    int64_t n = depth_map_rows(rows);
    for (int64_t y = 0; y < n; ++y) depth_map_row(rows, y);
    end_depth_map(rows, trace);
}
