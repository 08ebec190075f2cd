// Integer colour models: hue/saturation/value with its inverse, and the
// fixed-point luma and colour-difference models YCrCb, Yuv and YIQ.
#include <cstdint>

#include "tavkit.h"

namespace {

// Channel masks of the six hue rows, tested in this order; the first row whose
// two channels are the maximum and the minimum gives the hue. Ties matter only
// for red maximum with green = blue minimum, which must take row 0 (hue 0), not
// row 5 (hue 360).
enum { RedIsMax = 1, GreenIsMax = 2, BlueIsMax = 4, RedIsMin = 8, GreenIsMin = 16, BlueIsMin = 32 };
constexpr int HueRowTests[6] = {
    RedIsMax | BlueIsMin,   //   0 + 60 (G - B) / d
    GreenIsMax | BlueIsMin, //  60 + 60 (G - R) / d
    GreenIsMax | RedIsMin,  // 120 + 60 (B - R) / d
    BlueIsMax | RedIsMin,   // 180 + 60 (B - G) / d
    BlueIsMax | GreenIsMin, // 240 + 60 (R - G) / d
    RedIsMax | GreenIsMin,  // 300 + 60 (R - B) / d
};

// For every combination of the six equalities: the matching row's base hue
// times 2, plus 1 when its numerator is max - middle (odd rows) rather than
// middle - min (even rows). Combinations that match no row cannot occur.
struct HueTables {
    uint16_t row[64];
    uint64_t reciprocal[256]; // ceil(2^32 / d); 0 for d = 0
};

constexpr HueTables MakeHueTables()
{
    HueTables t{};
    for (int key = 0; key < 64; ++key) {
        for (int r = 0; r < 6; ++r) {
            if ((key & HueRowTests[r]) == HueRowTests[r]) {
                t.row[key] = (uint16_t)(r * 60 * 2 + (r & 1));
                break;
            }
        }
    }
    // With n = 60 x numerator <= 15300 and the rounding excess of the
    // reciprocal below d <= 255, n x excess < 2^32: the shifted product equals
    // the truncated quotient exactly.
    for (uint64_t d = 1; d < 256; ++d) t.reciprocal[d] = (((uint64_t)1 << 32) + d - 1) / d;
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
    const int r = (int)((color >> 16) & 0xFF), g = (int)((color >> 8) & 0xFF), b = (int)(color & 0xFF);
    const int hi = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const int lo = r < g ? (r < b ? r : b) : (g < b ? g : b);
    const int d = hi - lo;
    const unsigned key = (unsigned)(r == hi) | (unsigned)(g == hi) << 1 | (unsigned)(b == hi) << 2 |
                         (unsigned)(r == lo) << 3 | (unsigned)(g == lo) << 4 | (unsigned)(b == lo) << 5;
    const int mid = r + g + b - hi - lo;
    const int row = Hue.row[key];
    const int numerator = (row & 1) ? hi - mid : mid - lo;
    *hue = (row >> 1) + (int)(((uint64_t)(60 * numerator) * Hue.reciprocal[d]) >> 32);
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
