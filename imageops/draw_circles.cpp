// Circles and disks: an integer walk over one octant, mirrored eight ways.
#include <cstdint>

#include "imageops/drawing_state.h"
#include "tavkit.h"

namespace {

using PointFn = void (*)(int x, int y, uint32_t color);
using SpanFn = void (*)(int y, int xLeft, int xRight, uint32_t color);

void XorPoint(int x, int y, uint32_t) { TAV_XorPixel(x, y); }
void PaintSpan(int y, int xLeft, int xRight, uint32_t color) { TAV_DrawLine(xLeft, y, xRight, y, color); }
void XorSpan(int y, int xLeft, int xRight, uint32_t) { TAV_XorLine(xLeft, y, xRight, y); }

// The walk stops near 45 degrees (5/7 of the radius); each octant point is
// visited once, and at i = 0 and on the diagonal only the four distinct
// mirror images are plotted.
inline int WalkLimit(int r) { return (int)(5 * (int64_t)r / 7); }

void WalkCircle(int cx, int cy, int r, PointFn point, uint32_t color)
{
    const int limit = WalkLimit(r);
    int i = 0, x = r, d = r;
    do {
        point(cx - i, cy + x, color);
        point(cx + i, cy - x, color);
        if (i != 0 && i != x) {
            point(cx + i, cy + x, color);
            point(cx - i, cy - x, color);
            point(cx + x, cy - i, color);
            point(cx - x, cy + i, color);
        }
        point(cx + x, cy + i, color);
        point(cx - x, cy - i, color);
        d -= 2 * i + 1;
        if (d <= 0) {
            d += 2 * x - 2;
            x -= 1;
        }
        ++i;
    } while (i <= limit && i <= x);
}

// The disk as horizontal spans, each row exactly once: the rows near the
// centre come from the walk's i, the cap rows from its x as x steps down.
void WalkDisk(int cx, int cy, int r, SpanFn span, uint32_t color)
{
    const int limit = WalkLimit(r);
    int i = 0, x = r, d = r;
    bool lowered = false;
    do {
        if (i != x) {
            span(cy + i, cx - x, cx + x, color);
            if (i != 0) span(cy - i, cx - x, cx + x, color);
        }
        d -= 2 * i + 1;
        lowered = d <= 0;
        if (lowered) {
            span(cy + x, cx - i, cx + i, color);
            span(cy - x, cx - i, cx + i, color);
            d += 2 * x - 2;
            x -= 1;
        }
        ++i;
    } while (i <= limit && i <= x);
    if (!lowered) {
        const int last = i - 1;
        span(cy + x, cx - last, cx + last, color);
        span(cy - x, cx - last, cx + last, color);
    }
}

} // namespace

void TAV_DrawCircle(int cx, int cy, int r, uint32_t color) { WalkCircle(cx, cy, r, TAV_SetPixel, color); }

void TAV_XorCircle(int cx, int cy, int r) { WalkCircle(cx, cy, r, XorPoint, 0); }

void TAV_FillCircle(int cx, int cy, int r)
{
    const uint32_t color = DrawingColor;
    WalkDisk(cx, cy, r, PaintSpan, color);
    TAV_DrawCircle(cx, cy, r, color);
}

void TAV_XorFillCircle(int cx, int cy, int r) { WalkDisk(cx, cy, r, XorSpan, 0); }
