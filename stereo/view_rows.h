// One row of a view renderer: every pixel moved sideways by its depth, the
// holes that open behind nearer pixels filled with the farther pixel next
// to them.
//
// lev: the row's depth levels, w of them, with a 0 before the first and
// after the last (lev[-1] and lev[w] are readable). pic: the row's w picture
// pixels. disp: displacement per level, trunc(level * c / 256) for a shift
// c >= 0, so it never decreases with the level. out: the target row from the
// block's first column; only out[0 .. limit - 1] is written.
#ifndef STEREO_VIEW_ROWS_H
#define STEREO_VIEW_ROWS_H

#include <cstdint>

// The block of one pass in the target row.
struct ViewRowTarget {
    uint32_t* out;   // the target row from the block's first column
    int limit;       // only out[0 .. limit - 1] is written
    const int* disp; // displacement per level
};

// render_left_view's row: pixel x goes to block position x - s; block
// positions below 0 are dropped.
void left_view_row(const uint8_t* lev, const uint32_t* pic, int w, const ViewRowTarget& t);
// render_right_view's row: pixel x goes to block position x + s, scanning
// from the right.
void right_view_row(const uint8_t* lev, const uint32_t* pic, int w, const ViewRowTarget& t);

// Several passes of one kind into one row, in order, with the result of
// running them one after the other: left passes into disjoint blocks, right
// passes into blocks in increasing order (each spilling only into the next,
// whose own pass comes later).
void left_view_rows(const uint8_t* lev, const uint32_t* pic, int w, const ViewRowTarget* t, int count);
void right_view_rows(const uint8_t* lev, const uint32_t* pic, int w, const ViewRowTarget* t, int count);

#endif
