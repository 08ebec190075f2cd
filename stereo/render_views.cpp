// The view passes and the two view renderers (see view_passes.h, render.h).
#include <algorithm>

#include "stereo/render.h"
#include "stereo/view_passes.h"

namespace {

// Displacements of one pass: disp[level] = trunc(level * c / 256).
struct PassTable {
    int disp[256];
};

int clamp_shift(int64_t c) { return c < 0 ? 0 : c > MaxShift ? (int)MaxShift : (int)c; }

void displacement_table(int64_t shift, PassTable& t)
{
    int c = clamp_shift(shift);
    for (int level = 0; level < 256; ++level) t.disp[level] = (int)((int64_t)level * c / 256);
}

// A loaded map is read reversed while the depth direction is reversed; a
// computed map was already written reversed.
bool levels_reversed(void) { return Stereo.depth_loaded && Stereo.reverse_depth; }

void level_row(const uint32_t* depth, int w, bool reversed, uint8_t* lev)
{
    int flip = reversed ? 255 : 0;
    for (int x = 0; x < w; ++x) lev[x] = (uint8_t)(colour_value(depth[x]) ^ flip);
}

int level_at(const StereoBuffer& depth, int64_t x, int64_t y, bool reversed)
{
    int v = colour_value(buffer_pixel(depth, x, y));
    return reversed ? 255 - v : v;
}

// One row of render_left_view. lev holds the w levels of the row with a 0
// after them; pic the w picture pixels; out the target row from the block's
// first column, writable below `limit`. Block positions below 0 are dropped.
void left_view_row(const uint8_t* lev, const uint32_t* pic, int w, const int* disp, uint32_t* out,
                   int limit)
{
    for (int x = 0; x < w; ++x) {
        int d = lev[x];
        int s = disp[d];
        int p = x - s;
        if ((unsigned)p < (unsigned)limit) out[p] = pic[x];
        int dn = lev[x + 1]; // 0 after the last column
        if (dn >= d) continue;
        int sn = disp[dn];
        if (s <= sn) continue;
        // A hole opens behind the pixel: fill it with the next (farther) one,
        // black after the last column.
        uint32_t fill = x + 1 < w ? pic[x + 1] : 0;
        int q1 = std::min(x - sn, limit - 1);
        for (int q = std::max(p + 1, 0); q <= q1; ++q) out[q] = fill;
    }
}

// One row of render_right_view: the mirror image, scanning from the right.
// lev has a 0 before its first entry.
void right_view_row(const uint8_t* lev, const uint32_t* pic, int w, const int* disp, uint32_t* out,
                    int limit)
{
    for (int x = w - 1; x >= 0; --x) {
        int d = lev[x];
        int s = disp[d];
        int q = x + s;
        if (q < limit) out[q] = pic[x];
        int dn = lev[x - 1]; // 0 before the first column
        if (dn >= d) continue;
        int sn = disp[dn];
        if (s <= sn) continue;
        uint32_t fill = x > 0 ? pic[x - 1] : 0;
        int q1 = std::min(q - 1, limit - 1);
        for (int col = x + sn; col <= q1; ++col) out[col] = fill;
    }
}

// The end state of a left pass, from its last pixels: per pixel the step
// selects image 1 (level), image 0 (picture) and the target before each
// write, and image 1 and 0 again for the next column's level and pixel
// unless it is the last column, where both are known (0 and black).
void trace_left_pass(const StereoImages* images, const ViewPass& pass, const PassTable& t, bool reversed,
                     StereoTrace* trace)
{
    const StereoBuffer& depth = images->image[DepthImage];
    int64_t w = depth.width, total = w * depth.height, base = pass.block * w;
    for (int64_t i = std::max<int64_t>(total - TraceDepth, 0); i < total; ++i) {
        int64_t x = i % w, y = i / w;
        int d = level_at(depth, x, y, reversed);
        int64_t p = x - t.disp[d];
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
        if (dn >= d || t.disp[d] <= t.disp[dn]) continue;
        if (x + 1 < w) trace_select(trace, PictureImage);
        int64_t q1 = x - t.disp[dn];
        for (int64_t q = std::max<int64_t>({p + 1, 0, q1 - TraceDepth + 1}); q <= q1; ++q) {
            trace_select(trace, pass.target);
            trace_pen(trace, pass.target, base + q, y);
        }
    }
}

void trace_right_pass(const StereoImages* images, const ViewPass& pass, const PassTable& t, bool reversed,
                      StereoTrace* trace)
{
    const StereoBuffer& depth = images->image[DepthImage];
    int64_t w = depth.width, total = w * depth.height, base = pass.block * w;
    for (int64_t i = std::max<int64_t>(total - TraceDepth, 0); i < total; ++i) {
        int64_t x = w - 1 - i % w, y = i / w;
        int d = level_at(depth, x, y, reversed);
        int64_t q = x + t.disp[d];
        trace_select(trace, DepthImage);
        trace_select(trace, PictureImage);
        trace_select(trace, pass.target);
        trace_pen(trace, pass.target, base + q, y);
        int dn = 0;
        if (x > 0) {
            trace_select(trace, DepthImage);
            dn = level_at(depth, x - 1, y, reversed);
        }
        if (dn >= d || t.disp[d] <= t.disp[dn]) continue;
        if (x > 0) trace_select(trace, PictureImage);
        int64_t gap = t.disp[d] - t.disp[dn];
        for (int64_t j = std::max<int64_t>(1, gap - TraceDepth + 1); j <= gap; ++j) {
            trace_select(trace, pass.target);
            trace_pen(trace, pass.target, base + q - j, y);
        }
    }
}

bool targets_exist(const StereoImages* images, const ViewPass* passes, int count)
{
    for (int i = 0; i < count; ++i) {
        int n = passes[i].target;
        if (n != ResultImage && n != DisplayImage) return false;
        if (!buffer_exists(images->image[n])) return false;
    }
    return true;
}

} // namespace

void run_view_passes(const StereoImages* images, const ViewPass* passes, int count, StereoTrace* trace)
{
    const StereoBuffer& picture = images->image[PictureImage];
    const StereoBuffer& depth = images->image[DepthImage];
    if (!buffer_exists(picture) || !buffer_exists(depth) || !targets_exist(images, passes, count)) return;

    bool reversed = levels_reversed();
    std::vector<PassTable> tables((size_t)count);
    for (int i = 0; i < count; ++i) displacement_table(passes[i].shift, tables[(size_t)i]);
    int w = depth.width;
    std::vector<uint8_t> levels((size_t)w + 2, 0);
    uint8_t* lev = levels.data() + 1; // lev[-1] and lev[w] stay 0
    RowScratch depthRow, pictureRow, copySource, targetScratch;

    int64_t rows = std::max(depth.height, picture.height);
    for (int64_t y = 0; y < rows; ++y) {
        bool viewRow = y < depth.height;
        const uint32_t* pic = nullptr;
        if (viewRow) {
            level_row(source_row(depth, y, 0, w, depthRow), w, reversed, lev);
            pic = source_row(picture, y, 0, w, pictureRow);
        }
        for (int i = 0; i < count; ++i) {
            const ViewPass& pass = passes[i];
            const StereoBuffer& target = images->image[pass.target];
            if (pass.kind == CopyPass) {
                if (y < picture.height)
                    copy_row(picture, target, y, pass.column, picture.width, copySource, targetScratch);
                continue;
            }
            if (!viewRow) continue;
            const int* disp = tables[(size_t)i].disp;
            int64_t n = pass.kind == LeftPass ? w : (int64_t)w + disp[255];
            TargetRow out = target_row(target, y, pass.block * w, n, targetScratch);
            if (out.limit <= 0) continue;
            if (pass.kind == LeftPass) left_view_row(lev, pic, w, disp, out.words, (int)out.limit);
            else right_view_row(lev, pic, w, disp, out.words, (int)out.limit);
            commit_row(target, y, pass.block * w, out);
        }
    }

    if (trace == nullptr) return;
    for (int i = 0; i < count; ++i) {
        if (passes[i].kind == LeftPass) trace_left_pass(images, passes[i], tables[(size_t)i], reversed, trace);
        else if (passes[i].kind == RightPass)
            trace_right_pass(images, passes[i], tables[(size_t)i], reversed, trace);
        else trace_select(trace, passes[i].target); // the block write into the target
    }
}

void render_left_view(const StereoImages* images, int target, int k, int c, StereoTrace* trace)
{
    if (k < 0) return;
    ViewPass pass = {LeftPass, target, k, 0, c};
    run_view_passes(images, &pass, 1, trace);
}

void render_right_view(const StereoImages* images, int m, int c, StereoTrace* trace)
{
    if (m < 0) return;
    ViewPass pass = {RightPass, DisplayImage, m, 0, c};
    run_view_passes(images, &pass, 1, trace);
}
