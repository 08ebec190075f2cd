// Integer colour models: hue/saturation/value with its inverse, and the
// fixed-point luma and colour-difference models YCrCb, Yuv and YIQ.
#include <cstdint>

#include "tavkit.h"

namespace {

// The six hue rows, tested in order; the first row whose two channels hold
// the maximum and the minimum gives the hue:
//   row 0  R max, B min:   0 + 60 (G - B) / d     row 3  B max, R min: 180 + 60 (B - G) / d
//   row 1  G max, B min:  60 + 60 (G - R) / d     row 4  B max, G min: 240 + 60 (R - G) / d
//   row 2  G max, R min: 120 + 60 (B - R) / d     row 5  R max, G min: 300 + 60 (R - B) / d
// Even rows divide middle - min, odd rows max - middle. Where two channels tie,
// every matching row gives the same hue except for red maximum with green =
// blue minimum, which must take row 0 (hue 0), not row 5 (hue 360).
//
// The row follows from three comparisons, r >= g, g >= b and r >= b: the
// maximum is red if r >= g and r >= b, else green if g >= b, else blue; the
// minimum is blue if b <= r and b <= g, else green if g <= r, else red. These
// priorities pick row 0 for the one tie that matters, and a grey gets row 0
// with a zero numerator.
constexpr int HueRowOf(int maxChannel, int minChannel) // channels 0 R, 1 G, 2 B
{
    return maxChannel == 0 ? (minChannel == 2 ? 0 : 5)
         : maxChannel == 1 ? (minChannel == 2 ? 1 : 2)
                           : (minChannel == 0 ? 3 : 4);
}

struct HueTables {
    // By (r >= g) | (g >= b) << 1 | (r >= b) << 2: the row's base hue times 2,
    // plus 1 for the odd rows.
    uint16_t row[8];
    // floor(60 x 2^32 / d) + 1, 0 for d = 0. It exceeds 60 x 2^32 / d by at
    // most 1, so for a numerator n <= d <= 255 the product n x sixtyOver[d]
    // exceeds 60 n x 2^32 / d by at most n, less than 2^32 / d: shifted down
    // by 32 it is 60 n / d truncated, exactly.
    uint64_t sixtyOver[256];
};

constexpr HueTables MakeHueTables()
{
    HueTables t{};
    for (int key = 0; key < 8; ++key) {
        const bool rg = key & 1, gb = key & 2, rb = key & 4;
        const int maxChannel = (rg && rb) ? 0 : gb ? 1 : 2;
        const int minChannel = (rb && gb) ? 2 : rg ? 1 : 0;
        // Keys 3 and 4 (r >= g >= b > r, r < g < b <= r) never occur.
        const int row = HueRowOf(maxChannel, minChannel);
        t.row[key] = (uint16_t)(row * 60 * 2 + (row & 1));
    }
    for (uint64_t d = 1; d < 256; ++d) t.sixtyOver[d] = ((uint64_t)60 << 32) / d + 1;
    return t;
}

constexpr HueTables Hue = MakeHueTables();

inline int ColourSum(uint32_t color, int kr, int kg, int kb)
{
    const int r = (int)((color >> 16) & 0xFF), g = (int)((color >> 8) & 0xFF), b = (int)(color & 0xFF);
    return (kr * r + kg * g + kb * b + 32768) / 65536;   // truncates toward zero
}

} // namespace

void TAV_RGBtoHSV(uint32_t color, int* hue, int* saturation, int* value)
{
    // Free of branches: a pass over a photograph would mispredict the row
    // tests. The minimum of r and g is formed as a sum so that the compiler
    // keeps conditional moves rather than a jump.
    const int r = (int)((color >> 16) & 0xFF), g = (int)((color >> 8) & 0xFF), b = (int)(color & 0xFF);
    const int rgMax = r >= g ? r : g;
    const int rgMin = r + g - rgMax;
    const int hi = rgMax >= b ? rgMax : b;
    const int lo = rgMin <= b ? rgMin : b;
    const int d = hi - lo;
    const int mid = r + g + b - hi - lo;
    const int row = Hue.row[(unsigned)(r >= g) | (unsigned)(g >= b) << 1 | (unsigned)(r >= b) << 2];
    const int numerator = (row & 1) ? hi - mid : mid - lo;
    *hue = (row >> 1) + (int)(((uint64_t)numerator * Hue.sixtyOver[d]) >> 32);
    *saturation = d;
    *value = hi;
}

int TAV_GetHue(uint32_t color)
{
    int h, s, v;
    TAV_RGBtoHSV(color, &h, &s, &v);
    return h;
}

int TAV_GetSaturation(uint32_t color)
{
    int h, s, v;
    TAV_RGBtoHSV(color, &h, &s, &v);
    return s;
}

int TAV_GetValue(uint32_t color)
{
    int h, s, v;
    TAV_RGBtoHSV(color, &h, &s, &v);
    return v;
}

uint32_t TAV_HSVtoRGB(int value, int saturation, int hue)
{
    // Products in 64 bits so that out-of-range arguments cannot overflow.
    const int64_t v = value, h = hue;
    const int64_t m = value - (int64_t)saturation < 0 ? 0 : value - (int64_t)saturation;
    const int64_t d = v - m;
    int64_t r, g, b;
    if (h < 60)       { r = v; g = m + d * h / 60; b = m; }
    else if (h < 120) { r = m + d * (120 - h) / 60; g = v; b = m; }
    else if (h < 180) { r = m; g = v; b = m + d * (h - 120) / 60; }
    else if (h < 240) { r = m; g = m + d * (240 - h) / 60; b = v; }
    else if (h < 300) { r = m + d * (h - 240) / 60; g = m; b = v; }
    else              { r = v; g = m; b = m + d * (360 - h) / 60; }
    return (uint32_t)(((uint64_t)r * 256 + (uint64_t)g) * 256 + (uint64_t)b);
}

int TAV_RGBtoY(uint32_t color) { return ColourSum(color, 19595, 38470, 7471); }

void TAV_RGBtoYCrCb(uint32_t color, int* y, int* cr, int* cb)
{
    *y = TAV_RGBtoY(color);
    *cr = ColourSum(color, 32768, -27460, -5308);
    *cb = ColourSum(color, -11076, -21692, 32768);
}

void TAV_RGBtoYuv(uint32_t color, int* y, int* u, int* v)
{
    *y = TAV_RGBtoY(color);
    *u = ColourSum(color, -9634, -18940, 28574);
    *v = ColourSum(color, 40305, -33751, -6554);
}

void TAV_RGBtoYIQ(uint32_t color, int* y, int* i, int* q)
{
    *y = TAV_RGBtoY(color);
    *i = ColourSum(color, 39053, -18022, -21037);
    *q = ColourSum(color, 13533, -32565, 19032);
}
