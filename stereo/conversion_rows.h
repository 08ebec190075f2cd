// Row-by-row forms of the depth map, the result pair and the anaglyph, so
// that Start can run all three in one pass over the picture while its rows
// are in the cache. Each step writes only into the rows it reads, so doing
// row y of every step before row y + 1 gives the pixels of the steps run one
// after the other. Each form: begin_ (false: an image it needs is missing,
// nothing to do), the row function for every y below the row count in
// order, then end_ for the trace.
#ifndef STEREO_CONVERSION_ROWS_H
#define STEREO_CONVERSION_ROWS_H

#include "stereo/pixel_rows.h"
#include "stereo/trace.h"
#include "stereo/view_passes.h"

struct DepthMapRows {
    int kind;                   // DepthMapKind
    const StereoImages* images;
    uint32_t grey[256];         // grey ColorWord per colour measure
    uint8_t dark[256];          // darkness term ((255 - max) * S_mod) / 10 per max
    int sMod;                   // S_mod, held within 0..10
    RowScratch in, out;
    const uint32_t* lastRow;    // the row just written, while it is in the cache; nullptr if not whole
};
// Also sets Stereo.shift whenever the picture exists.
bool begin_depth_map(DepthMapRows& rows, int kind, const StereoImages* images);
int64_t depth_map_rows(const DepthMapRows& rows);
void depth_map_row(DepthMapRows& rows, int64_t y);
void end_depth_map(const DepthMapRows& rows, StereoTrace* trace);

struct ResultRows {
    ViewPass passes[2];  // the left view into block 0, the picture copied into block 1
    ViewPassRows views;
};
// Reads Stereo.shift here.
bool begin_result(ResultRows& rows, const StereoImages* images);
int64_t result_rows(const ResultRows& rows);
void result_row(ResultRows& rows, int64_t y);
void end_result(const ResultRows& rows, StereoTrace* trace);

struct AnaglyphRows {
    const StereoImages* images;
    RowScratch pictureHalf, viewHalf, out;
};
bool begin_anaglyph(AnaglyphRows& rows, const StereoImages* images);
int64_t anaglyph_rows(const AnaglyphRows& rows);
// resultRow: row y of image 2 when the caller has it in the cache, else nullptr.
void anaglyph_row(AnaglyphRows& rows, int64_t y, const uint32_t* resultRow);
void end_anaglyph(const AnaglyphRows& rows, StereoTrace* trace);

#endif
