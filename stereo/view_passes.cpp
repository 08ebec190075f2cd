// The view passes, run row by row (see view_passes.h).
#include <algorithm>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "stereo/view_passes.h"
#include "stereo/view_rows.h"
#include "stereo/view_traces.h"

namespace {

int clamp_shift(int64_t c) { return c < 0 ? 0 : c > MaxShift ? (int)MaxShift : (int)c; }

// disp[level] = trunc(level * c / 256).
void displacement_table(int64_t shift, int* disp)
{
    int c = clamp_shift(shift);
    for (int level = 0; level < 256; ++level) disp[level] = (int)((int64_t)level * c / 256);
}

// A loaded map is read reversed while the depth direction is reversed; a
// computed map was already written reversed.
bool levels_reversed(void) { return Stereo.depth_loaded && Stereo.reverse_depth; }

// Levels of w depth-map pixels: V, or 255 - V when reversed. Also asks for
// the data ahead of the depth map and of the picture row that the passes
// read next.
void level_row(const uint32_t* depth, const uint32_t* pic, int w, bool reversed, uint8_t* lev)
{
    int flip = reversed ? 255 : 0;
    int x = 0;
#ifdef __SSE2__
    const __m128i flips = _mm_set1_epi8((char)flip), lowByte = _mm_set1_epi32(255);
    for (; x + 16 <= w; x += 16) {
        prefetch_ahead(depth + x);
        prefetch_ahead(pic + x);
        __m128i v[4];
        for (int i = 0; i < 4; ++i) {
            __m128i c = _mm_loadu_si128((const __m128i*)(depth + x + 4 * i));
            __m128i m = _mm_max_epu8(_mm_max_epu8(c, _mm_srli_epi32(c, 8)), _mm_srli_epi32(c, 16));
            v[i] = _mm_and_si128(m, lowByte); // byte 0 of each pixel: max(B, G, R)
        }
        __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(v[0], v[1]), _mm_packs_epi32(v[2], v[3]));
        _mm_storeu_si128((__m128i*)(lev + x), _mm_xor_si128(bytes, flips));
    }
#endif
    for (; x < w; ++x) lev[x] = (uint8_t)(colour_value(depth[x]) ^ flip);
}

// The one 32-bit target of all passes when, on the rows where both the views
// and the copies run, they write every column of it: a view pass writes at
// least its whole block (every landing gap is filled), a copy the
// picture's width. -1 otherwise.
int staged_target(const StereoImages* images, const ViewPass* passes, int count)
{
    if (count <= 0) return -1;
    int target = passes[0].target;
    const StereoBuffer& t = images->image[target];
    if (t.bits == 8) return -1;
    int64_t w = images->image[DepthImage].width, pw = images->image[PictureImage].width;
    std::vector<std::pair<int64_t, int64_t>> spans;
    for (int i = 0; i < count; ++i) {
        if (passes[i].target != target) return -1;
        int64_t from = passes[i].kind == CopyPass ? passes[i].column : passes[i].block * w;
        spans.push_back({from, from + (passes[i].kind == CopyPass ? pw : w)});
    }
    std::sort(spans.begin(), spans.end());
    int64_t covered = 0;
    for (const auto& span : spans) {
        if (span.first > covered) break;
        covered = std::max(covered, span.second);
    }
    return covered >= t.width ? target : -1;
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

// Columns a view pass may write from its block's first column: the block,
// and for a right pass what spills past it.
int64_t pass_width(const ViewPassRows& rows, int i)
{
    int64_t w = rows.images->image[DepthImage].width;
    return rows.passes[i].kind == LeftPass ? w : w + rows.displacements[(size_t)i * 256 + 255];
}

// Pass i's block in the staged row, or at `words` (limit columns) when given.
ViewRowTarget pass_target(ViewPassRows& rows, int i, uint32_t* words, int64_t limit)
{
    const ViewPass& pass = rows.passes[i];
    ViewRowTarget t;
    t.disp = &rows.displacements[(size_t)i * 256];
    if (words != nullptr) {
        t.out = words;
        t.limit = (int)limit;
        return t;
    }
    int64_t column = pass.block * rows.images->image[DepthImage].width;
    int64_t width = (int64_t)rows.staged.size();
    t.limit = (int)std::max<int64_t>(std::min(pass_width(rows, i), width - column), 0);
    t.out = t.limit > 0 ? &rows.staged[(size_t)column] : nullptr;
    return t;
}

} // namespace

bool begin_view_passes(ViewPassRows& rows, const StereoImages* images, const ViewPass* passes, int count)
{
    const StereoBuffer& picture = images->image[PictureImage];
    const StereoBuffer& depth = images->image[DepthImage];
    if (!buffer_exists(picture) || !buffer_exists(depth) || !targets_exist(images, passes, count)) return false;
    rows.images = images;
    rows.passes = passes;
    rows.count = count;
    rows.reversed = levels_reversed();
    rows.displacements.assign((size_t)count * 256, 0);
    for (int i = 0; i < count; ++i) displacement_table(passes[i].shift, &rows.displacements[(size_t)i * 256]);
    rows.levels.assign((size_t)depth.width + 2, 0); // the first and the last entry stay 0
    rows.stagedTarget = staged_target(images, passes, count);
    rows.rowStaged = false;
    rows.depthOverride = nullptr;
    if (rows.stagedTarget >= 0) rows.staged.assign((size_t)images->image[rows.stagedTarget].width, 0);
    return true;
}

int64_t view_pass_rows(const ViewPassRows& rows)
{
    return std::max(rows.images->image[DepthImage].height, rows.images->image[PictureImage].height);
}

void view_passes_row(ViewPassRows& rows, int64_t y)
{
    const StereoBuffer& picture = rows.images->image[PictureImage];
    const StereoBuffer& depth = rows.images->image[DepthImage];
    int w = depth.width;
    bool viewRow = y < depth.height;
    uint8_t* lev = rows.levels.data() + 1;
    const uint32_t* pic = nullptr;
    if (viewRow) {
        pic = source_row(picture, y, 0, w, rows.pictureRow);
        const uint32_t* levels = rows.depthOverride ? rows.depthOverride : source_row(depth, y, 0, w, rows.depthRow);
        level_row(levels, pic, w, rows.reversed, lev);
    }
    const StereoBuffer* staging =
        rows.stagedTarget >= 0 ? &rows.images->image[rows.stagedTarget] : nullptr;
    rows.rowStaged = staging != nullptr && viewRow && y < picture.height && y < staging->height;
    for (int i = 0; i < rows.count;) {
        const ViewPass& pass = rows.passes[i];
        const StereoBuffer& target = rows.images->image[pass.target];
        if (pass.kind == CopyPass) {
            ++i;
            if (y >= picture.height) continue;
            if (!rows.rowStaged) {
                copy_row(picture, target, y, pass.column, picture.width, rows.copySource, rows.target);
                continue;
            }
            int64_t n = std::min<int64_t>(picture.width, target.width - pass.column);
            if (n > 0) memcpy(&rows.staged[(size_t)pass.column], source_row(picture, y, 0, n, rows.copySource),
                              (size_t)n * sizeof(uint32_t));
            continue;
        }
        if (!viewRow) {
            ++i;
            continue;
        }
        if (rows.rowStaged) { // the run of passes of this kind, together
            ViewRowTarget run[64];
            int n = 0;
            for (; i < rows.count && rows.passes[i].kind == pass.kind && n < 64; ++i) {
                ViewRowTarget t = pass_target(rows, i, nullptr, 0);
                if (t.limit > 0) run[n++] = t;
            }
            if (pass.kind == LeftPass) left_view_rows(lev, pic, w, run, n);
            else right_view_rows(lev, pic, w, run, n);
            continue;
        }
        int64_t column = pass.block * w;
        TargetRow out = target_row(target, y, column, pass_width(rows, i), rows.target);
        ++i;
        if (out.limit <= 0) continue;
        ViewRowTarget t = pass_target(rows, i - 1, out.words, out.limit);
        if (pass.kind == LeftPass) left_view_row(lev, pic, w, t);
        else right_view_row(lev, pic, w, t);
        commit_row(target, y, column, out);
    }
    if (rows.rowStaged) stream_row(row_words(*staging, y), rows.staged.data(), staging->width);
}

const uint32_t* staged_row(const ViewPassRows& rows) { return rows.rowStaged ? rows.staged.data() : nullptr; }

void end_view_passes(const ViewPassRows& rows, StereoTrace* trace)
{
    stream_done();
    if (trace == nullptr) return;
    for (int i = 0; i < rows.count; ++i) {
        const ViewPass& pass = rows.passes[i];
        const int* disp = &rows.displacements[(size_t)i * 256];
        if (pass.kind == LeftPass) trace_left_pass(rows.images, pass, disp, rows.reversed, trace);
        else if (pass.kind == RightPass) trace_right_pass(rows.images, pass, disp, rows.reversed, trace);
        else trace_select(trace, pass.target); // the block write into the target
    }
}

void run_view_passes(const StereoImages* images, const ViewPass* passes, int count, StereoTrace* trace)
{
    ViewPassRows rows;
    if (!begin_view_passes(rows, images, passes, count)) return;
    int64_t n = view_pass_rows(rows);
    for (int64_t y = 0; y < n; ++y) view_passes_row(rows, y);
    end_view_passes(rows, trace);
}
