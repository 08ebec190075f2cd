// The end state of the view passes, from their last pixels (see view_traces.h).
#include "stereo/view_traces.h"

#include <algorithm>

namespace {

int level_at(const StereoBuffer& depth, int64_t x, int64_t y, bool reversed)
{
    int v = colour_value(buffer_pixel(depth, x, y));
    return reversed ? 255 - v : v;
}

} // namespace

// Per pixel a left pass selects image 1 (level), image 0 (picture) and the
// target before each write, and image 1 and 0 again for the next column's
// level and pixel unless it is the last column, where both are known (0
// and black). Only the last pixels can reach the last nine selections; a
// long hole fill is cut to its last nine writes for the same reason.
void trace_left_pass(const StereoImages* images, const ViewPass& pass, const int* disp, bool reversed,
                     StereoTrace* trace)
{
    const StereoBuffer& depth = images->image[DepthImage];
    int64_t w = depth.width, total = w * depth.height, base = pass.block * w;
    for (int64_t i = std::max<int64_t>(total - TraceDepth, 0); i < total; ++i) {
        int64_t x = i % w, y = i / w;
        int d = level_at(depth, x, y, reversed);
        int64_t p = x - disp[d];
        trace_select(trace, DepthImage);
        trace_select(trace, PictureImage);
        if (p >= 0) {
            trace_select(trace, pass.target);
            trace_pen(trace, pass.target, base + p, y);
        }
        int dn = 0;
        if (x + 1 < w) {
            trace_select(trace, DepthImage);
            dn = level_at(depth, x + 1, y, reversed);
        }
        if (dn >= d || disp[d] <= disp[dn]) continue;
        if (x + 1 < w) trace_select(trace, PictureImage);
        int64_t q1 = x - disp[dn];
        for (int64_t q = std::max<int64_t>({p + 1, 0, q1 - TraceDepth + 1}); q <= q1; ++q) {
            trace_select(trace, pass.target);
            trace_pen(trace, pass.target, base + q, y);
        }
    }
}

// The mirror image, scanning each row from the right.
void trace_right_pass(const StereoImages* images, const ViewPass& pass, const int* disp, bool reversed,
                      StereoTrace* trace)
{
    const StereoBuffer& depth = images->image[DepthImage];
    int64_t w = depth.width, total = w * depth.height, base = pass.block * w;
    for (int64_t i = std::max<int64_t>(total - TraceDepth, 0); i < total; ++i) {
        int64_t x = w - 1 - i % w, y = i / w;
        int d = level_at(depth, x, y, reversed);
        int64_t q = x + disp[d];
        trace_select(trace, DepthImage);
        trace_select(trace, PictureImage);
        trace_select(trace, pass.target);
        trace_pen(trace, pass.target, base + q, y);
        int dn = 0;
        if (x > 0) {
            trace_select(trace, DepthImage);
            dn = level_at(depth, x - 1, y, reversed);
        }
        if (dn >= d || disp[d] <= disp[dn]) continue;
        if (x > 0) trace_select(trace, PictureImage);
        int64_t gap = disp[d] - disp[dn];
        for (int64_t j = std::max<int64_t>(1, gap - TraceDepth + 1); j <= gap; ++j) {
            trace_select(trace, pass.target);
            trace_pen(trace, pass.target, base + q - j, y);
        }
    }
}
