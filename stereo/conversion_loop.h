// The rules of the conversion loop that need no window: what each panel
// button does, where the converter's images go, and the wait between two
// polls of the panel. Read-only tables and one function; worker thread.
#ifndef STEREO_CONVERSION_LOOP_H
#define STEREO_CONVERSION_LOOP_H

#include <atomic>
#include <cstdint>

#include "stereo/parameters.h"

// What a clicked panel button does (once per poll, however many clicks).
enum PanelAction {
    ActNothing,    // no action (the last button)
    ActParameter,  // run_parameter_button, then its follow-up
    ActDepthMap,   // the depth map `argument` (DepthMapKind), render_result, its console line
    ActAnaglyph,   // render_anaglyph
    ActInterlace,  // render_interlace with mode `argument`
    ActLoad,       // load a depth-map file into image 1
    ActBreak,      // destroy images 0..4 and leave TAV_Main
    ActMultiView,  // render_multi_view
};

struct PanelButton {
    int action;   // PanelAction
    int argument; // depth map kind or interlace mode; 0 otherwise
};
extern const PanelButton PanelActions[PanelButtons];

// The converter's images and where Start puts them; W x H is the picture's
// size. Image 0 is only moved (its size kept); the others are created in
// the order of the table unless their number is already in use.
struct ConverterImage {
    int number;
    const char* name;  // nullptr: the picture keeps its own name
    int x, y;          // screen position of the window
    int widthPictures; // width in picture widths; 0: fixed size below
    int fixedWidth, fixedHeight;
};
enum { ConverterImageCount = StereoImageCount };
extern const ConverterImage ConverterImages[ConverterImageCount];

enum { WaitStepMs = 100 };

// The wait between two polls: pumps messages until 100 ms have passed since
// the call (measured with `now`, milliseconds whose differences survive the
// wrap) or a Stop request is seen after a pump. Returns 1 for a Stop
// request, 0 otherwise. The first test comes before the first pump, so the
// wait pumps at least once unless 100 ms have already passed.
int wait_step(uint32_t (*now)(void), void (*pump)(void), const std::atomic<int>& stopRequested);

#endif
