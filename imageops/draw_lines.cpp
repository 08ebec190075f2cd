// Lines, rectangles and boxes, painted or inverted.
#include <algorithm>
#include <cstdint>
#include <utility>

#include "imageops/drawing_state.h"
#include "imageops/pixel_access.h"
#include "tavkit.h"

namespace {

using PlotFn = void (*)(int x, int y, uint32_t color);

void XorPlot(int x, int y, uint32_t) { TAV_XorPlotPixel(x, y); }

// Clips the closed range [lo, hi] to [0, size - 1]; false when nothing is left.
bool ClipRange(int64_t* lo, int64_t* hi, int size)
{
    if (*lo < 0) *lo = 0;
    if (*hi > (int64_t)size - 1) *hi = (int64_t)size - 1;
    return *lo <= *hi;
}

// The line walk: both end points are plotted and every pixel exactly once.
// Vertical and horizontal lines are clipped to the current image first (the
// pixels left out would be dropped anyway); the diagonal walk counts in 64
// bits so that end points anywhere in the int range are safe.
void WalkLine(int x0, int y0, int x1, int y1, PlotFn plot, uint32_t color)
{
    if (x0 == x1 || y0 == y1) {
        const ImageSlot* slot = CurrentSlot();
        if (!slot) return;
        int64_t lo, hi;
        if (x0 == x1) {
            lo = std::min(y0, y1), hi = std::max(y0, y1);
            if ((unsigned)x0 >= (unsigned)slot->width || !ClipRange(&lo, &hi, slot->height)) return;
            for (int64_t y = lo; y <= hi; ++y) plot(x0, (int)y, color);
        } else {
            lo = std::min(x0, x1), hi = std::max(x0, x1);
            if ((unsigned)y0 >= (unsigned)slot->height || !ClipRange(&lo, &hi, slot->width)) return;
            for (int64_t x = lo; x <= hi; ++x) plot((int)x, y0, color);
        }
        return;
    }
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const int64_t dx = (int64_t)x1 - x0;
    const int64_t dy = y1 > y0 ? (int64_t)y1 - y0 : (int64_t)y0 - y1;
    const int ystep = y1 > y0 ? 1 : -1;
    int x = x0, y = y0;
    plot(x, y, color);
    if (dx >= dy) {
        int64_t e = (dx + 1) / 2;
        while (x != x1) {
            ++x;
            e -= dy;
            if (e <= 0) {
                e += dx;
                y += ystep;
            }
            plot(x, y, color);
        }
    } else {
        int64_t e = (dy + 1) / 2;
        while (y != y1) {
            y += ystep;
            e -= dx;
            if (e <= 0) {
                e += dy;
                ++x;
            }
            plot(x, y, color);
        }
    }
}

struct Corners { int xa, ya, xb, yb; };

Corners Ordered(int x0, int y0, int x1, int y1)
{
    return Corners{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

// The four edges in drawing order, each a full line; the corners get two coats.
void DrawOutline(int x0, int y0, int x1, int y1, uint32_t color)
{
    TAV_DrawLine(x0, y0, x1, y0, color);
    TAV_DrawLine(x1, y0, x1, y1, color);
    TAV_DrawLine(x1, y1, x0, y1, color);
    TAV_DrawLine(x0, y1, x0, y0, color);
}

} // namespace

void TAV_DrawLine(int x0, int y0, int x1, int y1, uint32_t color)
{
    PenPosition = TavPoint{x1, y1};
    WalkLine(x0, y0, x1, y1, TAV_PlotPixel, color);
}

void TAV_XorLine(int x0, int y0, int x1, int y1)
{
    PenPosition = TavPoint{x1, y1};
    WalkLine(x0, y0, x1, y1, XorPlot, 0);
}

void TAV_DrawRect(int x0, int y0, int x1, int y1) { DrawOutline(x0, y0, x1, y1, DrawingColor); }

void TAV_XorRect(int x0, int y0, int x1, int y1)
{
    const Corners c = Ordered(x0, y0, x1, y1);
    TAV_XorLine(c.xa, c.ya, c.xb, c.ya);
    if (c.yb != c.ya) TAV_XorLine(c.xa, c.yb, c.xb, c.yb);
    if ((int64_t)c.yb - c.ya > 1) {
        TAV_XorLine(c.xa, c.ya + 1, c.xa, c.yb - 1);
        // A rectangle one pixel wide has a single side: inverting it again
        // would erase it.
        if (c.xb != c.xa) TAV_XorLine(c.xb, c.ya + 1, c.xb, c.yb - 1);
    }
}

void TAV_DrawBox(int x0, int y0, int x1, int y1, uint32_t border, uint32_t fill)
{
    const Corners c = Ordered(x0, y0, x1, y1);
    DrawOutline(c.xa, c.ya, c.xb, c.yb, border);
    if ((int64_t)c.xb - c.xa >= 2 && (int64_t)c.yb - c.ya >= 2) {
        for (int y = c.ya + 1; y < c.yb; ++y) TAV_DrawLine(c.xa + 1, y, c.xb - 1, y, fill);
    }
}

void TAV_XorFillBox(int x0, int y0, int x1, int y1)
{
    const Corners c = Ordered(x0, y0, x1, y1);
    for (int64_t y = c.ya; y <= c.yb; ++y) TAV_XorLine(c.xa, (int)y, c.xb, (int)y);
}
