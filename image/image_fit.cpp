// Fitting a zoom to the client size limits (see image_fit.h).
//
// Each side on its own: the screen size asked for, size x zoom / 100, is held
// between 1 and the side's maximum, and the zoom that gives the held size is
// rounded down; the smaller of the two sides' zooms is used. All of this is
// done in exact integer arithmetic with 64-bit products, so a request that
// already fits is never lowered by a rounding error.
#include "image/image_fit.h"

#include <algorithm>
#include <climits>

static int64_t FloorDiv(int64_t a, int64_t b) // b > 0
{
    int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

static int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

// floor(max(min(size*zoom/100, max), 1) * 100 / size), using that rounding down
// commutes with min and max and that zoom is a whole number.
static int64_t SideZoom(int64_t size, int64_t zoom, int64_t max)
{
    return std::max(std::min(zoom, FloorDiv(max * 100, size)), FloorDiv(100, size));
}

bool FitDisplaySize(int width, int height, int zoom, const ClientSizeLimits& limits, DisplayFit* fit)
{
    const int64_t w = std::max(width, 1), h = std::max(height, 1);
    // A client area is never empty, whatever the system's metrics say.
    const int64_t minW = std::max(limits.minWidth, 1), minH = std::max(limits.minHeight, 1);
    int64_t z = std::min(SideZoom(w, zoom, limits.maxWidth), SideZoom(h, zoom, limits.maxHeight));
    int64_t dw = w * z / 100, dh = h * z / 100;
    if (dw < minW || dh < minH) {
        z = std::max(CeilDiv(minW * 100, w), CeilDiv(minH * 100, h));
        dw = w * z / 100;
        dh = h * z / 100;
        if (dw > limits.maxWidth || dh > limits.maxHeight) return false;
    }
    if (z > INT_MAX) return false; // only with limits no screen has
    fit->width = (int)dw;
    fit->height = (int)dh;
    fit->zoom = (int)z;
    return true;
}

int64_t ImageBufferBytes(int width, int height, int bits)
{
    const int64_t stride = bits == 8 ? ((int64_t)width + 3) / 4 * 4 : (int64_t)width * 4;
    return stride * height;
}
