// The passes that the view renderers are made of, run row by row.
//
// Every pass writes only into the row it reads, so running all passes of
// one row before the next row gives the same pixels as running each pass
// over the whole image in turn, as long as the passes keep their order
// within the row. The depth levels and the picture row are then read once
// per row for all the passes (the multi-view strip has up to view_num of
// them) and stay in the cache.
#ifndef STEREO_VIEW_PASSES_H
#define STEREO_VIEW_PASSES_H

#include "stereo/pixel_rows.h"
#include "stereo/trace.h"

enum ViewPassKind {
    LeftPass,  // render_left_view: pixels moved left into block `block`
    RightPass, // render_right_view: pixels moved right into block `block`
    CopyPass,  // the picture copied unchanged to column `column` (a block write)
};

struct ViewPass {
    int kind;       // ViewPassKind
    int target;     // image written
    int64_t block;  // LeftPass, RightPass: block number, in depth-map widths
    int64_t column; // CopyPass: first column written
    int64_t shift;  // LeftPass, RightPass: the shift c
};

enum { MaxShift = 1 << 30 };

// Runs `passes` in order on every row, then records their end state in
// `trace`. Needs images 0 and 1 and every target; does nothing otherwise.
void run_view_passes(const StereoImages* images, const ViewPass* passes, int count, StereoTrace* trace);

// The same, row by row, for a step that does other work on each row too:
// begin_view_passes (false: an image is missing, nothing to do), then
// view_passes_row for y = 0 .. view_pass_rows() - 1 in order, then
// end_view_passes for the trace.
struct ViewPassRows {
    const StereoImages* images;
    const ViewPass* passes;           // the caller's, kept for the run
    int count;
    bool reversed;                    // levels read as 255 - V
    std::vector<int> displacements;   // 256 per pass: trunc(level * shift / 256)
    std::vector<uint8_t> levels;      // the row's levels with a 0 before and after
    RowScratch depthRow, pictureRow, copySource, target;
    const uint32_t* depthOverride;    // set by the caller: the depth map's row, already in the cache
    // When the passes write every column of their one 32-bit target's rows,
    // each row is built in `staged` (in the cache) and streamed out whole.
    int stagedTarget;                 // that target, or -1
    std::vector<uint32_t> staged;     // one row of it
    bool rowStaged;                   // the last row went through `staged`
};
bool begin_view_passes(ViewPassRows& rows, const StereoImages* images, const ViewPass* passes, int count);
int64_t view_pass_rows(const ViewPassRows& rows);
void view_passes_row(ViewPassRows& rows, int64_t y);
void end_view_passes(const ViewPassRows& rows, StereoTrace* trace);
// The target row that view_passes_row has just built, while it is still in
// the cache; nullptr when the row went straight to the buffer.
const uint32_t* staged_row(const ViewPassRows& rows);

#endif
