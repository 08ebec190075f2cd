// The selections and pen that the view passes leave when done pixel by
// pixel (trace.h), worked out from the last pixels of each pass.
#ifndef STEREO_VIEW_TRACES_H
#define STEREO_VIEW_TRACES_H

#include "stereo/trace.h"
#include "stereo/view_passes.h"

// disp: the pass's displacement per level; reversed: levels read as 255 - V.
void trace_left_pass(const StereoImages* images, const ViewPass& pass, const int* disp, bool reversed,
                     StereoTrace* trace);
void trace_right_pass(const StereoImages* images, const ViewPass& pass, const int* disp, bool reversed,
                      StereoTrace* trace);

#endif
