// The outputs of the converter: result pair, anaglyph, interlace, multi-view
// strip and the S-correction plot (see render.h).
#include <algorithm>

#include "stereo/render.h"
#include "stereo/view_passes.h"

namespace {

// Red: the picture's luma (299 R + 587 G + 114 B) / 1000; green and blue:
// the derived view's.
void anaglyph_row(const uint32_t* picture, const uint32_t* view, uint32_t* out, int64_t n)
{
    for (int64_t i = 0; i < n; ++i) {
        uint32_t a = picture[i];
        uint32_t luma = (299 * ((a >> 16) & 255) + 587 * ((a >> 8) & 255) + 114 * (a & 255)) / 1000;
        out[i] = luma << 16 | (view[i] & 0xFFFF);
    }
}

// Each output pixel of the anaglyph and the interlace is read from image 2
// (once or twice, each read with image 2 selected) and written with image 3
// selected: the last pixels decide the end state.
void trace_display_pixels(const StereoBuffer& picture, int reads, StereoTrace* trace)
{
    if (trace == nullptr) return;
    int64_t total = (int64_t)picture.width * picture.height;
    for (int64_t i = std::max<int64_t>(total - TraceDepth, 0); i < total; ++i) {
        for (int r = 0; r < reads; ++r) trace_select(trace, ResultImage);
        trace_select(trace, DisplayImage);
        trace_pen(trace, DisplayImage, i % picture.width, i / picture.width);
    }
}

bool display_inputs_exist(const StereoImages* images)
{
    return buffer_exists(images->image[PictureImage]) && buffer_exists(images->image[ResultImage]) &&
           buffer_exists(images->image[DisplayImage]);
}

} // namespace

void render_result(const StereoImages* images, StereoTrace* trace)
{
    const StereoBuffer& picture = images->image[PictureImage];
    const StereoBuffer& depth = images->image[DepthImage];
    const StereoBuffer& result = images->image[ResultImage];
    if (!buffer_exists(picture) || !buffer_exists(depth) || !buffer_exists(result)) return;
    int64_t w = picture.width, h = picture.height;
    trace_select(trace, ResultImage); // the black box is drawn with image 2 current

    // The box covers (0, 0)..(w, h), both corners inclusive. The left view
    // writes every block position 0..W1-1 of each of its rows (a hole always
    // continues where the previous pixel landed, and the last column's hole
    // reaches the block's end) and the copy writes columns w..2w-1 of the
    // picture's rows, so only the columns that neither reaches stay black.
    int64_t boxRows = std::min<int64_t>(h + 1, result.height);
    for (int64_t y = 0; y < boxRows; ++y) {
        int64_t first = y < depth.height ? depth.width : 0;
        int64_t last = y < h ? w - 1 : w;
        fill_row(result, y, first, last, 0);
    }
    const ViewPass passes[] = {
        {LeftPass, ResultImage, 0, 0, Stereo.shift},
        {CopyPass, ResultImage, 0, w, 0},
    };
    run_view_passes(images, passes, 2, trace);
}

void render_anaglyph(const StereoImages* images, StereoTrace* trace)
{
    if (!display_inputs_exist(images)) return;
    const StereoBuffer& picture = images->image[PictureImage];
    const StereoBuffer& result = images->image[ResultImage];
    const StereoBuffer& display = images->image[DisplayImage];
    RowScratch a, b, out;
    for (int64_t y = 0; y < picture.height; ++y) {
        TargetRow row = target_row(display, y, 0, picture.width, out);
        if (row.limit <= 0) continue;
        const uint32_t* pictureHalf = source_row(result, y, picture.width, row.limit, a);
        const uint32_t* viewHalf = source_row(result, y, 0, row.limit, b);
        anaglyph_row(pictureHalf, viewHalf, row.words, row.limit);
        commit_row(display, y, 0, row);
    }
    trace_display_pixels(picture, 2, trace);
}

void render_interlace(const StereoImages* images, int mode, int windowTop, StereoTrace* trace)
{
    if ((mode != 1 && mode != 2) || !display_inputs_exist(images)) return;
    const StereoBuffer& picture = images->image[PictureImage];
    const StereoBuffer& result = images->image[ResultImage];
    const StereoBuffer& display = images->image[DisplayImage];
    RowScratch in, out;
    for (int64_t y = 0; y < picture.height; ++y) {
        TargetRow row = target_row(display, y, 0, picture.width, out);
        if (row.limit <= 0) continue;
        bool evenScreenRow = (((int64_t)windowTop + y) & 1) == 0; // also right for a negative top
        bool takePicture = evenScreenRow == (mode == 1);
        const uint32_t* src = source_row(result, y, takePicture ? picture.width : 0, row.limit, in);
        std::copy(src, src + row.limit, row.words);
        commit_row(display, y, 0, row);
    }
    trace_display_pixels(picture, 1, trace);
}

void render_multi_view(const StereoImages* images, StereoTrace* trace)
{
    int64_t h = std::max(Stereo.view_num / 2, 0); // views on each side of the picture
    std::vector<ViewPass> passes;
    for (int64_t k = 0; k < h; ++k)
        passes.push_back({LeftPass, DisplayImage, k, 0, (h - k) * Stereo.M_shift});
    passes.push_back({CopyPass, DisplayImage, 0, h * images->image[PictureImage].width, 0});
    for (int64_t m = h + 1; m <= 2 * h; ++m)
        passes.push_back({RightPass, DisplayImage, m, 0, (m - h) * Stereo.M_shift});
    run_view_passes(images, passes.data(), (int)passes.size(), trace);
}

void plot_s_correct(const StereoImages* images, StereoTrace* trace)
{
    const StereoBuffer& curve = images->image[CurveImage];
    if (!buffer_exists(curve)) return;
    trace_select(trace, CurveImage);
    for (int y = 0; y <= 256; ++y) fill_row(curve, y, 0, 256, 0);
    for (int x = 0; x < 256; ++x) put_buffer_pixel(curve, x, 256 - SCorrectTable[x], 0xFFFFFF);
    trace_pen(trace, CurveImage, 255, 256 - SCorrectTable[255]);
}
