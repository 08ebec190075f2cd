// What Start computes, in one pass over the picture.
#ifndef STEREO_START_CONVERSION_H
#define STEREO_START_CONVERSION_H

#include "stereo/pixel_rows.h"
#include "stereo/trace.h"

// The S-correction update with its plot into image 4, the "S mod+V" depth
// map, the result pair and the anaglyph: the pixels, shift and trace of
// update_s_correct_table, plot_s_correct, run_depth_map(SModVMap),
// render_result and render_anaglyph run in that order, with the
// re-creation of image 3 before the anaglyph recorded as its selection.
// Image 3 must already be re-created at the picture's size (or be absent):
// the caller re-creates it first and goes back to the image that was
// current before (TAV_ResizeImage, then TAV_RestoreImage), so that the
// replayed trace puts the selection of the re-creation in its place.
void run_start_conversion(const StereoImages* images, StereoTrace* trace);

#endif
