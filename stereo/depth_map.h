// The four depth maps: each turns every picture pixel's colour into a depth
// level 0..255 and writes it into image 1 as the grey level * 0x010101.
#ifndef STEREO_DEPTH_MAP_H
#define STEREO_DEPTH_MAP_H

#include "stereo/pixel_rows.h"
#include "stereo/trace.h"

enum DepthMapKind {
    SMap,      // "S map":   gamma[S]                     with S = max - min
    VMap,      // "V map":   gamma[V]                     with V = max
    SModMap,   // "S mod":   gamma[scorr[ms]]
    SModVMap,  // "S mod+V": gamma[scorr[max(ms, V)]]
    DepthMapKindCount
};
// ms = ((255 - max) * S_mod) / 10 + (max - min), the product divided first.

struct DepthMapStep {
    int button;              // the panel button that runs it
    const char* consoleLine; // printed by the conversion loop after the step
    int shiftDivisor;        // the step sets shift = picture width / shiftDivisor
};
extern const DepthMapStep DepthMapSteps[DepthMapKindCount];

// Depth map `kind` (DepthMapKind) from image 0 into image 1, as the step does
// it with single pixel reads and writes over the picture's width and height:
// levels that fall outside image 1 are dropped. Sets Stereo.shift whenever
// the picture exists. Writes only when both images exist; then image 1 holds
// a computed map (Stereo.depth_loaded = 0), reversed to 255 - level while
// Stereo.reverse_depth is set, and `trace` (may be nullptr) records the
// selections and the pen the pixel-by-pixel step leaves: image 1 current.
// Showing image 1 is the caller's.
void run_depth_map(int kind, const StereoImages* images, StereoTrace* trace);

#endif
