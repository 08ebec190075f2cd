// The outputs of the converter: result pair, anaglyph, interlace, multi-view
// strip and the S-correction plot (see render.h).
#include <algorithm>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "stereo/conversion_rows.h"
#include "stereo/render.h"
#include "stereo/view_passes.h"

namespace {

// Red: the picture's luma (299 R + 587 G + 114 B) / 1000; green and blue:
// the derived view's. `fetch`: the inputs come from memory, so ask for
// them ahead. `stream`: out is 16-byte aligned and is written past the
// cache.
void anaglyph_pixels(const uint32_t* picture, const uint32_t* view, uint32_t* out, int64_t n, bool fetch,
                     bool stream)
{
    int64_t i = 0;
#ifdef __SSE2__
    // Four at a time: the channels widened to 16 bits and weighted in pairs
    // (114 B + 587 G, 299 R), the pairs added, and the sum (at most 255000)
    // divided by 1000 as (sum * 4294968) >> 32, exact up to 255000.
    const __m128i zero = _mm_setzero_si128(), weights = _mm_setr_epi16(114, 587, 299, 0, 114, 587, 299, 0);
    const __m128i thousandth = _mm_set1_epi32(4294968), highHalves = _mm_set_epi32(-1, 0, -1, 0);
    const __m128i greenBlue = _mm_set1_epi32(0xFFFF);
    for (; i + 4 <= n; i += 4) {
        if (fetch && (i & 15) == 0) {
            prefetch_ahead(picture + i);
            prefetch_ahead(view + i);
        }
        __m128i c = _mm_loadu_si128((const __m128i*)(picture + i));
        __m128 pairs01 = _mm_castsi128_ps(_mm_madd_epi16(_mm_unpacklo_epi8(c, zero), weights));
        __m128 pairs23 = _mm_castsi128_ps(_mm_madd_epi16(_mm_unpackhi_epi8(c, zero), weights));
        __m128i sum = _mm_add_epi32(_mm_castps_si128(_mm_shuffle_ps(pairs01, pairs23, _MM_SHUFFLE(2, 0, 2, 0))),
                                    _mm_castps_si128(_mm_shuffle_ps(pairs01, pairs23, _MM_SHUFFLE(3, 1, 3, 1))));
        __m128i even = _mm_srli_epi64(_mm_mul_epu32(sum, thousandth), 32);
        __m128i odd = _mm_and_si128(_mm_mul_epu32(_mm_srli_epi64(sum, 32), thousandth), highHalves);
        __m128i luma = _mm_or_si128(even, odd);
        __m128i v = _mm_and_si128(_mm_loadu_si128((const __m128i*)(view + i)), greenBlue);
        __m128i colour = _mm_or_si128(_mm_slli_epi32(luma, 16), v);
        if (stream) _mm_stream_si128((__m128i*)(out + i), colour);
        else _mm_storeu_si128((__m128i*)(out + i), colour);
    }
#endif
    for (; i < n; ++i) {
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

bool begin_result(ResultRows& rows, const StereoImages* images)
{
    if (!buffer_exists(images->image[PictureImage]) || !buffer_exists(images->image[ResultImage])) return false;
    rows.passes[0] = {LeftPass, ResultImage, 0, 0, Stereo.shift};
    rows.passes[1] = {CopyPass, ResultImage, 0, images->image[PictureImage].width, 0};
    return begin_view_passes(rows.views, images, rows.passes, 2);
}

int64_t result_rows(const ResultRows& rows)
{
    return std::max<int64_t>(view_pass_rows(rows.views), rows.views.images->image[PictureImage].height + 1);
}

void result_row(ResultRows& rows, int64_t y)
{
    const StereoBuffer& picture = rows.views.images->image[PictureImage];
    const StereoBuffer& depth = rows.views.images->image[DepthImage];
    const StereoBuffer& result = rows.views.images->image[ResultImage];
    // The black box covers (0, 0)..(W, H), both corners inclusive. The left
    // view writes every block position 0..W1-1 of each of its rows (a hole
    // always continues where the previous pixel landed, and the last
    // column's hole reaches the block's end) and the copy writes columns
    // W..2W-1 of the picture's rows, so only the columns that neither
    // reaches stay black.
    if (y <= picture.height) {
        int64_t first = y < depth.height ? depth.width : 0;
        int64_t last = y < picture.height ? picture.width - 1 : picture.width;
        fill_row(result, y, first, last, 0);
    }
    rows.views.rowStaged = false;
    if (y < view_pass_rows(rows.views)) view_passes_row(rows.views, y);
}

void end_result(const ResultRows& rows, StereoTrace* trace)
{
    trace_select(trace, ResultImage); // the black box is drawn with image 2 current
    end_view_passes(rows.views, trace);
}

void render_result(const StereoImages* images, StereoTrace* trace)
{
    ResultRows rows;
    if (!begin_result(rows, images)) return;
    int64_t n = result_rows(rows);
    for (int64_t y = 0; y < n; ++y) result_row(rows, y);
    end_result(rows, trace);
}

bool begin_anaglyph(AnaglyphRows& rows, const StereoImages* images)
{
    rows.images = images;
    return display_inputs_exist(images);
}

int64_t anaglyph_rows(const AnaglyphRows& rows) { return rows.images->image[PictureImage].height; }

void anaglyph_row(AnaglyphRows& rows, int64_t y, const uint32_t* resultRow)
{
    const StereoBuffer& picture = rows.images->image[PictureImage];
    const StereoBuffer& result = rows.images->image[ResultImage];
    const StereoBuffer& display = rows.images->image[DisplayImage];
    int64_t n = std::min(picture.width, display.width);
    if (y >= display.height || n <= 0) return;
    bool cached = resultRow != nullptr && result.width >= picture.width + n;
    const uint32_t* pictureHalf = cached ? resultRow + picture.width : source_row(result, y, picture.width, n, rows.pictureHalf);
    const uint32_t* viewHalf = cached ? resultRow : source_row(result, y, 0, n, rows.viewHalf);
    if (display.bits != 8) { // written past the cache, straight or through a scratch row
        uint32_t* to = row_words(display, y);
        if (((uintptr_t)to & 15) == 0) {
            anaglyph_pixels(pictureHalf, viewHalf, to, n, !cached, true);
            return;
        }
        uint32_t* out = rows.out.get(n);
        anaglyph_pixels(pictureHalf, viewHalf, out, n, !cached, false);
        stream_row(to, out, n);
        return;
    }
    TargetRow row = target_row(display, y, 0, n, rows.out);
    anaglyph_pixels(pictureHalf, viewHalf, row.words, row.limit, !cached, false);
    commit_row(display, y, 0, row);
}

void end_anaglyph(const AnaglyphRows& rows, StereoTrace* trace)
{
    stream_done();
    trace_display_pixels(rows.images->image[PictureImage], 2, trace);
}

void render_anaglyph(const StereoImages* images, StereoTrace* trace)
{
    AnaglyphRows rows;
    if (!begin_anaglyph(rows, images)) return;
    int64_t n = anaglyph_rows(rows);
    for (int64_t y = 0; y < n; ++y) anaglyph_row(rows, y, nullptr);
    end_anaglyph(rows, trace);
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
