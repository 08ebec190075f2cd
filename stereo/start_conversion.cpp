// What Start computes, in one pass over the picture (see start_conversion.h).
#include "stereo/start_conversion.h"

#include <algorithm>

#include "stereo/conversion_rows.h"
#include "stereo/depth_map.h"
#include "stereo/render.h"

void run_start_conversion(const StereoImages* images, StereoTrace* trace)
{
    update_s_correct_table();
    plot_s_correct(images, trace);

    DepthMapRows depth;
    ResultRows result;
    AnaglyphRows anaglyph;
    bool depthOn = begin_depth_map(depth, SModVMap, images); // sets the shift the result uses
    bool resultOn = begin_result(result, images);
    bool anaglyphOn = begin_anaglyph(anaglyph, images);
    int64_t rows = std::max({depthOn ? depth_map_rows(depth) : 0, resultOn ? result_rows(result) : 0,
                             anaglyphOn ? anaglyph_rows(anaglyph) : 0});
    for (int64_t y = 0; y < rows; ++y) {
        bool depthRow = depthOn && y < depth_map_rows(depth);
        if (depthRow) depth_map_row(depth, y);
        if (resultOn && y < result_rows(result)) {
            // The rows just written are read again from the cache.
            result.views.depthOverride = depthRow ? depth.lastRow : nullptr;
            result_row(result, y);
        }
        const uint32_t* resultRow = resultOn ? staged_row(result.views) : nullptr;
        if (anaglyphOn && y < anaglyph_rows(anaglyph)) anaglyph_row(anaglyph, y, resultRow);
    }
    if (depthOn) end_depth_map(depth, trace);
    if (resultOn) end_result(result, trace);
    if (buffer_exists(images->image[DisplayImage])) trace_select(trace, DisplayImage); // its re-creation
    if (anaglyphOn) end_anaglyph(anaglyph, trace);
}
