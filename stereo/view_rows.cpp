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
#include <cstddef>
#include <cstring>
#include <vector>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

enum { Reach = 8 }; // a pixel's landing position and the 7 after (or before) it, written at once

#ifdef __SSE2__
typedef __m128i Quad;
Quad quad(uint32_t c) { return _mm_set1_epi32((int)c); }
void put_quad(uint32_t* p, Quad q) { _mm_storeu_si128((__m128i*)p, q); }
// (first[0], rest, rest, rest) and (rest, rest, rest, last[0]).
Quad quad_first(Quad first, Quad rest)
{
    return _mm_castps_si128(_mm_move_ss(_mm_castsi128_ps(rest), _mm_castsi128_ps(first)));
}
Quad quad_last(Quad last, Quad rest) { return _mm_shuffle_epi32(quad_first(last, rest), 0x39); }
#else
struct Quad { uint32_t c[4]; };
Quad quad(uint32_t c) { return Quad{{c, c, c, c}}; }
void put_quad(uint32_t* p, Quad q) { for (int i = 0; i < 4; ++i) p[i] = q.c[i]; }
Quad quad_first(Quad first, Quad rest) { return Quad{{first.c[0], rest.c[1], rest.c[2], rest.c[3]}}; }
Quad quad_last(Quad last, Quad rest) { return Quad{{rest.c[0], rest.c[1], rest.c[2], last.c[0]}}; }
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

// The middle of a left row starts where no landing position is negative any
// more (1 + the last x with s(x) > x) ...
int left_first(const uint8_t* lev, int w, const int* disp)
{
    int first = 0;
    for (int x = 0, n = std::min(disp[255], w); x < n; ++x)
        if (disp[lev[x]] > x) first = x + 1;
    return first;
}

// ... and ends with 11 columns to spare in the block.
int left_last(int w, int limit) { return std::min(w, limit) - Reach - 3; }

// The middle of a right row ends (from the left) at the first pixel that
// lands at or past the limit.
int right_top(const uint8_t* lev, int w, const int* disp, int limit)
{
    for (int x = std::max(limit - disp[255], 0); x < w; ++x)
        if (x + disp[lev[x]] >= limit) return x;
    return w;
}

// Columns x0 .. x1 - 1 of the middle of a left row (every landing position
// >= 0, 11 columns to spare after it): each pixel writes its colour and the
// next pixel's at the 7 positions after it, and a longer hole on in fours.
// Positions past the hole are written again later, as every position after
// the landing position is.
void left_fast(const uint8_t* lev, const uint32_t* pic, const ViewRowTarget& t, int x0, int x1)
{
    if (x0 >= x1) return;
    uint32_t* out = t.out;
    const int* disp = t.disp; // held here: the stores could be taken to change t
    // Positions as pointer differences (displacements are >= 0, so zero-extended).
    ptrdiff_t p = (ptrdiff_t)x0 - (ptrdiff_t)(unsigned)disp[lev[x0]];
    Quad here = quad(pic[x0]);
    // Pixel x lands at p; the next one (colour fill) lands at `next`.
    auto step = [&](ptrdiff_t x) {
        ptrdiff_t next = x + 1 - (ptrdiff_t)(unsigned)disp[lev[x + 1]];
        Quad fill = quad(pic[x + 1]);
        put_quad(out + p, quad_first(here, fill));
        put_quad(out + p + 4, fill);
        for (ptrdiff_t q = p + Reach; q < next; q += 4) put_quad(out + q, fill);
        p = next;
        here = fill;
    };
    ptrdiff_t x = x0;
    for (; x + 2 <= x1; x += 2) {
        step(x);
        step(x + 1);
    }
    if (x < x1) step(x);
}

// Columns x1 - 1 down to x0 of the middle of a right row (landing inside
// the limit, x0 >= 11): the mirror image.
void right_fast(const uint8_t* lev, const uint32_t* pic, const ViewRowTarget& t, int x0, int x1)
{
    if (x0 >= x1) return;
    uint32_t* out = t.out;
    const int* disp = t.disp;
    ptrdiff_t q = (ptrdiff_t)x1 - 1 + (ptrdiff_t)(unsigned)disp[lev[x1 - 1]];
    Quad here = quad(pic[x1 - 1]);
    auto step = [&](ptrdiff_t x) {
        ptrdiff_t next = x - 1 + (ptrdiff_t)(unsigned)disp[lev[x - 1]];
        Quad fill = quad(pic[x - 1]);
        put_quad(out + q - 3, quad_last(here, fill));
        put_quad(out + q - 7, fill);
        for (ptrdiff_t col = q - Reach; col > next; col -= 4) put_quad(out + col - 3, fill); // a long hole
        q = next;
        here = fill;
    };
    ptrdiff_t x = x1 - 1;
    for (; x >= x0 + 1; x -= 2) {
        step(x);
        step(x - 1);
    }
    if (x == x0) step(x);
}

// A scratch row for the ends of the rows; the converter runs on one thread.
thread_local std::vector<uint32_t> EndScratch;

uint32_t* end_scratch(size_t n)
{
    if (EndScratch.size() < n) EndScratch.resize(n);
    return EndScratch.data();
}

// Columns 0 .. x1 - 1 of a left row, where landing positions can be
// negative: the middle loop runs into a scratch row with room on the left,
// and the positions left of the next pixel's landing position (all written,
// and final until the next pixel) go to the row; what lies right of it is
// written again by the pixels that follow.
void left_head(const uint8_t* lev, const uint32_t* pic, int w, const ViewRowTarget& t, int x1)
{
    int run = std::min(x1, w - Reach - 4); // the middle loop reads one pixel ahead
    if (run <= 0) {
        left_steps(lev, pic, w, t.disp, t.out, t.limit, 0, x1);
        return;
    }
    int gutter = t.disp[255];
    ViewRowTarget s = t;
    s.out = end_scratch((size_t)gutter + (size_t)run + 2 * Reach) + gutter;
    left_fast(lev, pic, s, 0, run);
    int done = std::min(run - t.disp[lev[run]], t.limit);
    if (done > 0) memcpy(t.out, s.out, (size_t)done * sizeof(uint32_t));
    left_steps(lev, pic, w, t.disp, t.out, t.limit, run, x1);
}

// Columns w - 1 down to x0 of a right row, from the first pixel that lands
// at or past the limit: the mirror image, into a scratch row reaching the
// highest landing position.
void right_head(const uint8_t* lev, const uint32_t* pic, int w, const ViewRowTarget& t, int x0)
{
    if (x0 >= w) return;
    int top = x0; // highest landing position
    for (int x = x0; x < w; ++x) top = std::max(top, x + t.disp[lev[x]]);
    ViewRowTarget s = t;
    s.out = end_scratch((size_t)top + Reach);
    right_fast(lev, pic, s, x0, w);
    int done = x0 - 1 + t.disp[lev[x0 - 1]]; // positions above the next pixel's landing are final for now
    if (t.limit > done + 1)
        memcpy(t.out + done + 1, s.out + done + 1, (size_t)(t.limit - done - 1) * sizeof(uint32_t));
}

#ifdef __SSE2__
// The displacements of up to four passes per level, side by side, so that
// one load gives a pixel's move in every pass of a group.
struct GroupMoves {
    alignas(16) int move[256][4];
};

void group_moves(const ViewRowTarget* t, int n, GroupMoves& m)
{
    for (int level = 0; level < 256; ++level)
        for (int k = 0; k < 4; ++k) m.move[level][k] = k < n ? t[k].disp[level] : 0;
}

__m128i moves(const GroupMoves& m, const uint8_t* lev, int x)
{
    return _mm_load_si128((const __m128i*)m.move[lev[x]]);
}

// Passes of the same kind into disjoint blocks, pixel by pixel: the
// picture row, the levels and the colours are read once for all of them.
template <int N>
void left_group(const uint8_t* lev, const uint32_t* pic, int w, const ViewRowTarget* t)
{
    int firsts[N], lasts[N], first = 0, last = w;
    for (int k = 0; k < N; ++k) {
        firsts[k] = left_first(lev, w, t[k].disp);
        lasts[k] = std::max(firsts[k], left_last(w, t[k].limit));
        first = std::max(first, firsts[k]);
        last = std::min(last, lasts[k]);
    }
    if (first >= last) {
        for (int k = 0; k < N; ++k) left_view_row(lev, pic, w, t[k]);
        return;
    }
    for (int k = 0; k < N; ++k) {
        left_head(lev, pic, w, t[k], firsts[k]);
        left_fast(lev, pic, t[k], firsts[k], first);
    }
    GroupMoves m;
    group_moves(t, N, m);
    const __m128i eight = _mm_set1_epi32(Reach), one = _mm_set1_epi32(1);
    uint32_t* out[N];
    for (int k = 0; k < N; ++k) out[k] = t[k].out;
    __m128i column = _mm_set1_epi32(first);
    __m128i land = _mm_sub_epi32(column, moves(m, lev, first));
    Quad here = quad(pic[first]);
    for (int x = first; x < last; ++x) {
        column = _mm_add_epi32(column, one);
        __m128i landNext = _mm_sub_epi32(column, moves(m, lev, x + 1));
        Quad fill = quad(pic[x + 1]), head = quad_first(here, fill);
        alignas(16) unsigned p[4]; // >= 0 here
        _mm_store_si128((__m128i*)p, land);
        for (int k = 0; k < N; ++k) {
            put_quad(out[k] + p[k], head);
            put_quad(out[k] + p[k] + 4, fill);
        }
        // Holes longer than the reach: the next pixel lands more than 8 on.
        int longHoles = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(landNext, _mm_add_epi32(land, eight))));
        longHoles &= (1 << N) - 1;
        if (longHoles != 0) {
            alignas(16) unsigned pn[4];
            _mm_store_si128((__m128i*)pn, landNext);
            for (; longHoles != 0; longHoles &= longHoles - 1) {
                int k = __builtin_ctz((unsigned)longHoles);
                for (unsigned q = p[k] + Reach; q < pn[k]; q += 4) put_quad(out[k] + q, fill);
            }
        }
        land = landNext;
        here = fill;
    }
    for (int k = 0; k < N; ++k) {
        left_fast(lev, pic, t[k], last, lasts[k]);
        left_steps(lev, pic, w, t[k].disp, t[k].out, t[k].limit, lasts[k], w);
    }
}

template <int N>
void right_group(const uint8_t* lev, const uint32_t* pic, int w, const ViewRowTarget* t)
{
    int tops[N], top = w;
    for (int k = 0; k < N; ++k) {
        tops[k] = right_top(lev, w, t[k].disp, t[k].limit);
        top = std::min(top, tops[k]);
    }
    if (top <= Reach + 3) {
        for (int k = 0; k < N; ++k) right_view_row(lev, pic, w, t[k]);
        return;
    }
    for (int k = 0; k < N; ++k) {
        right_head(lev, pic, w, t[k], tops[k]);
        right_fast(lev, pic, t[k], top, tops[k]);
    }
    GroupMoves m;
    group_moves(t, N, m);
    const __m128i eight = _mm_set1_epi32(Reach), one = _mm_set1_epi32(1);
    uint32_t* out[N];
    for (int k = 0; k < N; ++k) out[k] = t[k].out;
    __m128i column = _mm_set1_epi32(top - 1);
    __m128i land = _mm_add_epi32(column, moves(m, lev, top - 1));
    Quad here = quad(pic[top - 1]);
    for (int x = top - 1; x >= Reach + 3; --x) {
        column = _mm_sub_epi32(column, one);
        __m128i landNext = _mm_add_epi32(column, moves(m, lev, x - 1));
        Quad fill = quad(pic[x - 1]), tail = quad_last(here, fill);
        alignas(16) unsigned q[4]; // >= 11 here
        _mm_store_si128((__m128i*)q, land);
        for (int k = 0; k < N; ++k) {
            put_quad(out[k] + q[k] - 3, tail);
            put_quad(out[k] + q[k] - 7, fill);
        }
        int longHoles = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(land, _mm_add_epi32(landNext, eight))));
        longHoles &= (1 << N) - 1;
        if (longHoles != 0) {
            alignas(16) int qn[4];
            _mm_store_si128((__m128i*)qn, landNext);
            for (; longHoles != 0; longHoles &= longHoles - 1) {
                int k = __builtin_ctz((unsigned)longHoles);
                for (int col = (int)q[k] - Reach; col > qn[k]; col -= 4) put_quad(out[k] + col - 3, fill);
            }
        }
        land = landNext;
        here = fill;
    }
    for (int k = 0; k < N; ++k) right_steps(lev, pic, t[k].disp, t[k].out, t[k].limit, 0, Reach + 3);
}
#endif

// Whether passes may run pixel by pixel together: left passes always;
// right passes when a block's spill into the next block comes before the
// next pass writes there, as when the passes run one after the other
// (every displacement below a third of the block: the spill then comes
// from pixels right of all those that write there).
bool groupable(const ViewRowTarget* t, int n, int w, bool right)
{
    for (int k = 0; right && k < n; ++k)
        if (3 * (int64_t)t[k].disp[255] + Reach + 3 >= w) return false;
    return true;
}

} // namespace

void left_view_row(const uint8_t* lev, const uint32_t* pic, int w, const ViewRowTarget& t)
{
    int first = left_first(lev, w, t.disp);
    int last = std::max(first, left_last(w, t.limit));
    left_head(lev, pic, w, t, first);
    left_fast(lev, pic, t, first, last);
    left_steps(lev, pic, w, t.disp, t.out, t.limit, last, w);
}

void right_view_row(const uint8_t* lev, const uint32_t* pic, int w, const ViewRowTarget& t)
{
    int top = right_top(lev, w, t.disp, t.limit);
    if (top <= Reach + 3) {
        right_steps(lev, pic, t.disp, t.out, t.limit, 0, w);
        return;
    }
    right_head(lev, pic, w, t, top);
    right_fast(lev, pic, t, Reach + 3, top);
    right_steps(lev, pic, t.disp, t.out, t.limit, 0, Reach + 3);
}

void left_view_rows(const uint8_t* lev, const uint32_t* pic, int w, const ViewRowTarget* t, int count)
{
    int done = 0;
#ifdef __SSE2__
    if (groupable(t, count, w, false)) {
        for (; count - done >= 4; done += 4) left_group<4>(lev, pic, w, t + done);
        if (count - done == 3) left_group<3>(lev, pic, w, t + done);
        if (count - done == 2) left_group<2>(lev, pic, w, t + done);
        if (count - done >= 2) done = count;
    }
#endif
    for (; done < count; ++done) left_view_row(lev, pic, w, t[done]);
}

void right_view_rows(const uint8_t* lev, const uint32_t* pic, int w, const ViewRowTarget* t, int count)
{
    int done = 0;
#ifdef __SSE2__
    if (groupable(t, count, w, true)) {
        for (; count - done >= 4; done += 4) right_group<4>(lev, pic, w, t + done);
        if (count - done == 3) right_group<3>(lev, pic, w, t + done);
        if (count - done == 2) right_group<2>(lev, pic, w, t + done);
        if (count - done >= 2) done = count;
    }
#endif
    for (; done < count; ++done) right_view_row(lev, pic, w, t[done]);
}
