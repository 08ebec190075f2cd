// The four depth maps (see depth_map.h).
//
// Every level is a function of the pixel's largest and smallest channel, so
// the step folds the S-correction table, the gamma table and the depth
// direction into one 256-entry table of grey ColorWords, indexed by the
// step's colour measure, and runs one pass over the rows.
#include "stereo/depth_map.h"

#include <algorithm>

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

// dark[M] = ((255 - M) * S_mod) / 10: the darkness term of the modified
// saturation. S_mod is held within 0..10 by its buttons; taking it into that
// range here keeps every table index within 0..255 whatever it holds.
void build_dark_table(uint8_t dark[256])
{
    int sMod = std::min(std::max(Stereo.S_mod, 0), 10);
    for (int m = 0; m < 256; ++m) dark[m] = (uint8_t)((255 - m) * sMod / 10);
}

template <int Kind>
void depth_row(const uint32_t* in, uint32_t* out, int64_t n, const uint32_t* grey, const uint8_t* dark)
{
    for (int64_t i = 0; i < n; ++i) {
        uint32_t c = in[i];
        int r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
        int hi = std::max(std::max(r, g), b);
        int lo = std::min(std::min(r, g), b);
        int index;
        if (Kind == SMap) index = hi - lo;
        else if (Kind == VMap) index = hi;
        else if (Kind == SModMap) index = dark[hi] + hi - lo;
        else index = hi + std::max(dark[hi] - lo, 0); // max(ms, V)
        out[i] = grey[index];
    }
}

typedef void (*DepthRow)(const uint32_t*, uint32_t*, int64_t, const uint32_t*, const uint8_t*);
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

void run_depth_map(int kind, const StereoImages* images, StereoTrace* trace)
{
    if ((unsigned)kind >= DepthMapKindCount) return;
    const StereoBuffer& picture = images->image[PictureImage];
    const StereoBuffer& depth = images->image[DepthImage];
    if (!buffer_exists(picture)) return;
    Stereo.shift = picture.width / DepthMapSteps[kind].shiftDivisor;
    if (!buffer_exists(depth)) return;

    uint32_t grey[256];
    uint8_t dark[256];
    build_grey_table(kind, grey);
    build_dark_table(dark);
    RowScratch in, out;
    int64_t rows = std::min(picture.height, depth.height);
    for (int64_t y = 0; y < rows; ++y) {
        TargetRow row = target_row(depth, y, 0, picture.width, out);
        if (row.limit <= 0) continue;
        DepthRows[kind](source_row(picture, y, 0, row.limit, in), row.words, row.limit, grey, dark);
        commit_row(depth, y, 0, row);
    }
    Stereo.depth_loaded = 0;
    trace_depth_map(picture, trace);
}
