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

#endif
