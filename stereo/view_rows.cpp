// One row of a view renderer (see view_rows.h).
//
// Step by step, render_left_view writes pixel x at its landing position
// L(x) = x - s(x) and, when the next pixel moves less (s(x+1) < s(x)), fills
// the hole L(x)+1 .. x - s(x+1) with the next pixel. The hole test is a
// coin toss on a noisy depth map, so the middle of the row does it without
// a branch: every pixel also writes the next pixel's colour at the 8
// positions after its landing position, and only a longer hole takes a
// loop. The extra writes change nothing in the end: a position p > L(x) is
// always written again later in the row, since the next pixel lands at most
// one column right of what has been covered so far and the last column's
// hole reaches the block's end; so each extra write is overwritten by the
// step-by-step write that finally holds p. The mirror holds for the right
// view. The ends of the row, where landing positions can leave the block,
// go step by step.
#include "stereo/view_rows.h"

#include <algorithm>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

enum { Reach = 8 }; // a pixel's landing position and the 7 after (or before) it, written at once

#ifdef __SSE2__
typedef __m128i Quad;
Quad quad(uint32_t c) { return _mm_set1_epi32((int)c); }
void put_quad(uint32_t* p, Quad q) { _mm_storeu_si128((__m128i*)p, q); }
// (first, rest, rest, rest) and (rest, rest, rest, last).
Quad quad_first(uint32_t first, Quad rest)
{
    return _mm_castps_si128(_mm_move_ss(_mm_castsi128_ps(rest), _mm_castsi128_ps(_mm_cvtsi32_si128((int)first))));
}
Quad quad_last(uint32_t last, Quad rest) { return _mm_shuffle_epi32(quad_first(last, rest), 0x39); }
#else
struct Quad { uint32_t c[4]; };
Quad quad(uint32_t c) { return Quad{{c, c, c, c}}; }
void put_quad(uint32_t* p, Quad q) { for (int i = 0; i < 4; ++i) p[i] = q.c[i]; }
Quad quad_first(uint32_t first, Quad rest) { return Quad{{first, rest.c[1], rest.c[2], rest.c[3]}}; }
Quad quad_last(uint32_t last, Quad rest) { return Quad{{rest.c[0], rest.c[1], rest.c[2], last}}; }
#endif

// Columns x0 .. x1 - 1 of render_left_view, step by step.
void left_steps(const uint8_t* lev, const uint32_t* pic, int w, const int* disp, uint32_t* out, int limit,
                int x0, int x1)
{
    for (int x = x0; x < x1; ++x) {
        int s = disp[lev[x]];
        int sn = disp[lev[x + 1]]; // level 0 after the last column
        int p = x - s;
        if ((unsigned)p < (unsigned)limit) out[p] = pic[x];
        if (s <= sn) continue; // no hole (s < sn only where the next pixel is nearer)
        uint32_t fill = x + 1 < w ? pic[x + 1] : 0; // black after the last column
        int q1 = std::min(x - sn, limit - 1);
        for (int q = std::max(p + 1, 0); q <= q1; ++q) out[q] = fill;
    }
}

// Columns x1 - 1 down to x0 of render_right_view, step by step.
void right_steps(const uint8_t* lev, const uint32_t* pic, const int* disp, uint32_t* out, int limit, int x0,
                 int x1)
{
    for (int x = x1 - 1; x >= x0; --x) {
        int s = disp[lev[x]];
        int sn = disp[lev[x - 1]]; // level 0 before the first column
        int q = x + s;
        if (q < limit) out[q] = pic[x];
        if (s <= sn) continue;
        uint32_t fill = x > 0 ? pic[x - 1] : 0; // black before the first column
        int q1 = std::min(q - 1, limit - 1);
        for (int col = x + sn; col <= q1; ++col) out[col] = fill;
    }
}

} // namespace

void left_view_row(const uint8_t* lev, const uint32_t* pic, int w, const int* disp, uint32_t* out, int limit)
{
    int end = std::min(w, limit);
    int first = std::min(disp[255], w);          // from here on every landing position is >= 0
    int last = std::max(first, end - Reach - 3); // before here 11 columns follow it in the block
    left_steps(lev, pic, w, disp, out, limit, 0, first);
    if (first < last) {
        int s = disp[lev[first]];
        uint32_t here = pic[first];
        for (int x = first; x < last; ++x) {
            int sn = disp[lev[x + 1]];
            uint32_t next = pic[x + 1];
            int p = x - s;
            Quad fill = quad(next);
            put_quad(out + p, quad_first(here, fill));
            put_quad(out + p + 4, fill);
            // A hole longer than the reach, in fours: positions past the hole
            // are written again later, as every position after p is.
            for (int q = p + Reach; q <= x - sn; q += 4) put_quad(out + q, fill);
            s = sn;
            here = next;
        }
    }
    left_steps(lev, pic, w, disp, out, limit, last, w);
}

void right_view_row(const uint8_t* lev, const uint32_t* pic, int w, const int* disp, uint32_t* out, int limit)
{
    int top = std::min(w, limit - disp[255]); // below here every landing position is inside the limit
    if (top <= Reach + 3) {
        right_steps(lev, pic, disp, out, limit, 0, w);
        return;
    }
    right_steps(lev, pic, disp, out, limit, top, w);
    int s = disp[lev[top - 1]];
    uint32_t here = pic[top - 1];
    for (int x = top - 1; x >= Reach + 3; --x) {
        int sn = disp[lev[x - 1]];
        uint32_t next = pic[x - 1];
        int q = x + s;
        Quad fill = quad(next);
        put_quad(out + q - 3, quad_last(here, fill));
        put_quad(out + q - 7, fill);
        for (int col = q - Reach; col >= x + sn; col -= 4) put_quad(out + col - 3, fill);
        s = sn;
        here = next;
    }
    right_steps(lev, pic, disp, out, limit, 0, Reach + 3);
}
