// What a conversion step leaves behind in the library besides pixels.
//
// Done one pixel at a time through the library, a step makes the image it
// reads or writes current before every access (pushing the previous current
// image onto the 8-entry selection history) and moves the pen with every
// pixel write. The converter computes the pixels on the buffers directly and
// records only what decides that end state: the last nine selections (the
// current image and the eight history entries depend on nothing older) and
// the last pen-moving write. Replaying the record through the library after
// the step leaves the current image, the history and the pen exactly where
// the pixel-by-pixel step would have left them.
#ifndef STEREO_TRACE_H
#define STEREO_TRACE_H

#include <cstdint>

enum { TraceDepth = 9 }; // the current image plus the 8 history entries

struct StereoTrace {
    int recent[TraceDepth]; // image numbers of the last selections; selection i is recent[i % TraceDepth]
    int64_t selections;     // selections recorded
    int penMoved;           // 1 once a pen-moving write was recorded
    int penImage;           // image of the last pen-moving write
    int penX, penY;         // its point (inside the image or not: the pen moves either way)
    int64_t penAfter;       // selections recorded before that write
};

void trace_clear(StereoTrace* t);
void trace_select(StereoTrace* t, int image);
void trace_pen(StereoTrace* t, int image, int64_t x, int64_t y);

// Replays the end state: calls select(n) for each kept selection in order,
// and touchPen(x, y) at the place of the last pen-moving write, with that
// write's image current. touchPen must move the pen to (x, y) and leave the
// pixels as they are: TAV_SetPixel(x, y, TAV_GetPixel(x, y)).
void trace_replay(const StereoTrace* t, void (*select)(int image), void (*touchPen)(int x, int y));

#endif
