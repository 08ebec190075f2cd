// Stereo rendering: views synthesised from the picture (image 0) and its
// depth map (image 1) by moving every pixel sideways by its depth, and the
// outputs built on them. Each operation computes, on the images' buffers,
// exactly the pixels that the step would produce with single pixel reads and
// writes (a read outside an image gives 0, a write outside it is dropped),
// and records in `trace` (may be nullptr) the selections and the pen that
// the pixel-by-pixel step leaves behind (trace.h).
//
// The caller does everything that needs the window system: re-creating image
// 3 before an output step (then passing its new buffer), showing the images
// and bringing image 3 to the front. When an image that a step needs does
// not exist, the step writes nothing and records nothing.
//
// Depth level of a depth-map pixel: its largest channel V; 255 - V while a
// loaded map is used with the depth direction reversed. Displacement for a
// shift c: trunc(level * c / 256). Shifts below 0 count as 0 (the buttons
// never make one) and shifts above 2^30 as 2^30.
//
// How the conversion loop runs a step: fill StereoImages from the image
// table (each image's pixel buffer, size and depth; nullptr for a free
// slot), clear a StereoTrace, call the step, then replay the trace
// (trace_replay with TAV_SelectImage and a touch of TAV_SetPixel(x, y,
// TAV_GetPixel(x, y))) and show what the step shows:
//   render_result: show image 2.
//   render_anaglyph, render_interlace: first re-create image 3 at W x H
//     (TAV_ResizeImage) and zoom it to 100 %, refill its entry (absent if
//     that failed) and, for the interlace, read its window's top; after the
//     step bring image 3 to the front and show it.
//   render_multi_view: first re-create image 3 at view_num * W x H; show it.
//   plot_s_correct (after the S-correction buttons): show image 4.
// The re-creation's own selection of image 3 then falls in its place before
// the step's selections. Start is run_start_conversion (start_conversion.h).
#ifndef STEREO_RENDER_H
#define STEREO_RENDER_H

#include "stereo/pixel_rows.h"
#include "stereo/trace.h"

// Derived view moved left into block k (columns k * W .. k * W + W - 1, W
// the depth map's width) of image `target`. A pixel whose block position
// x - s is negative is dropped, as the hole fill drops its own positions
// there: no view ever writes into the block on its left.
void render_left_view(const StereoImages* images, int target, int k, int c, StereoTrace* trace);
// Derived view moved right into block m of image 3.
void render_right_view(const StereoImages* images, int m, int c, StereoTrace* trace);
// Image 2: the view moved left by Stereo.shift in block 0, the picture in
// block 1. Leaves image 2 current.
void render_result(const StereoImages* images, StereoTrace* trace);
// Image 3 (already W x H): red the picture's luma, green and blue the derived
// view of image 2.
void render_anaglyph(const StereoImages* images, StereoTrace* trace);
// Image 3 (already W x H): rows from the picture or the derived view by the
// parity of windowTop + y, windowTop being the screen y of image 3's window
// (its outer top edge). Mode 1 puts the picture on even screen rows, mode 2
// the derived view; any other mode does nothing.
void render_interlace(const StereoImages* images, int mode, int windowTop, StereoTrace* trace);
// Image 3 (already view_num * W x H): view_num views, the picture in the
// middle block, shifts growing by Stereo.M_shift per block outwards.
void render_multi_view(const StereoImages* images, StereoTrace* trace);
// Image 4: cleared black over (0, 0)..(256, 256), then the S-correction table
// plotted in white at (x, 256 - entry x).
void plot_s_correct(const StereoImages* images, StereoTrace* trace);

#endif
