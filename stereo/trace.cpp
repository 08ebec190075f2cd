// End state of the conversion steps (see trace.h).
#include "stereo/trace.h"

#include <climits>

void trace_clear(StereoTrace* t)
{
    for (int& n : t->recent) n = 0;
    t->selections = 0;
    t->penMoved = 0;
    t->penImage = 0;
    t->penX = t->penY = 0;
    t->penAfter = 0;
}

void trace_select(StereoTrace* t, int image)
{
    if (t == nullptr) return;
    t->recent[t->selections % TraceDepth] = image;
    ++t->selections;
}

// Pen coordinates are the int arguments the pixel write would have been given.
static int pen_coordinate(int64_t v)
{
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : (int)v;
}

void trace_pen(StereoTrace* t, int image, int64_t x, int64_t y)
{
    if (t == nullptr) return;
    t->penMoved = 1;
    t->penImage = image;
    t->penX = pen_coordinate(x);
    t->penY = pen_coordinate(y);
    t->penAfter = t->selections;
}

void trace_replay(const StereoTrace* t, void (*select)(int image), void (*touchPen)(int x, int y))
{
    int64_t first = t->selections > TraceDepth ? t->selections - TraceDepth : 0;
    // A pen write older than the kept selections: touch it first; the nine
    // selections that follow replace every trace of that extra selection.
    bool penFirst = t->penMoved && t->penAfter <= first;
    if (penFirst) {
        select(t->penImage);
        touchPen(t->penX, t->penY);
    }
    for (int64_t i = first; i < t->selections; ++i) {
        select(t->recent[i % TraceDepth]);
        if (t->penMoved && !penFirst && t->penAfter == i + 1) touchPen(t->penX, t->penY);
    }
}
