// Drawing state shared by every image window and the user program; lives for
// the whole run. Worker thread only (set once by start-up before it begins).
#ifndef TAV_DRAWING_STATE_H
#define TAV_DRAWING_STATE_H

#include <cstdint>

struct TavPoint { int x, y; };
struct TavTextCursor {
    int x;          // where the next character starts, image pixels
    int leftMargin; // x a new line returns to
    int y;          // baseline
};

extern uint32_t DrawingColor;     // lines, boxes, circles, fills; white at start
extern uint32_t tav_tc;           // bitmap-font text colour; black at start
extern uint32_t tav_tttc;         // TrueType text colour; white at start
extern TavTextCursor TextCursor;  // shared by both kinds of text drawn into images
extern TavPoint PenPosition;      // last point of the pen-moving operations

#endif
