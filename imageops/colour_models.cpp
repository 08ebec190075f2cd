// Integer colour models: hue/saturation/value with its inverse, and the
// fixed-point luma and colour-difference models YCrCb, Yuv and YIQ.
#include <cstdint>

#include "tavkit.h"

namespace {

// Hue follows six rows, tested in order; the first row whose two channels
// hold the maximum and the minimum gives the hue:
//   row 0  R max, B min:   0 + 60 (G - B) / d     row 3  B max, R min: 180 + 60 (B - G) / d
//   row 1  G max, B min:  60 + 60 (G - R) / d     row 4  B max, G min: 240 + 60 (R - G) / d
//   row 2  G max, R min: 120 + 60 (B - R) / d     row 5  R max, G min: 300 + 60 (R - B) / d
// with each quotient truncated. Where two channels tie, every matching row
// gives the same hue except for red maximum with green = blue minimum, which
// must take row 0 (hue 0), not row 5 (hue 360).
//
// An odd row's truncated quotient of max - middle equals 60 less the rounded-up
// quotient of middle - min, so the rows pair up by maximum channel into one
// rounded-down quotient each:
//   R max:   0 + floor(60 (G - B) / d), plus 360 when that is negative (row 5)
//   G max: 120 + floor(60 (B - R) / d)            (rows 1 and 2)
//   B max: 240 + floor(60 (R - G) / d)            (rows 3 and 4)
// Red wins a tie for the maximum, then green: that keeps row 0 for the tie
// that matters, and a grey gets 0.

inline int ColourSum(uint32_t color, int kr, int kg, int kb)
{
    const int r = (int)((color >> 16) & 0xFF), g = (int)((color >> 8) & 0xFF), b = (int)(color & 0xFF);
    return (kr * r + kg * g + kb * b + 32768) / 65536;   // truncates toward zero
}

} // namespace

void TAV_RGBtoHSV(uint32_t color, int* hue, int* saturation, int* value)
{
    // Only comparisons, selects and one division, with no table reads and no
    // jumps: a per-pixel loop over a picture that calls this turns into
    // vector code, four pixels at a time.
    const int r = (int)((color >> 16) & 0xFF), g = (int)((color >> 8) & 0xFF), b = (int)(color & 0xFF);
    const bool rg = r >= g;
    const int rgMax = rg ? r : g;
    const int rgMin = rg ? g : r;
    const int hi = rgMax >= b ? rgMax : b;
    const int lo = rgMin <= b ? rgMin : b;
    const bool maxRed = r == hi, maxGreen = !maxRed && g == hi;
    const int difference = maxRed ? g - b : maxGreen ? b - r : r - g;
    const int base = maxRed ? 0 : maxGreen ? 120 : 240;
    const int d = hi - lo;
    const int divisor = d > 0 ? d : 1;   // a grey has a zero difference
    // floor(60 t / d) as trunc((60 t + 64 d) / d) - 64, with a numerator that
    // is never negative. Both operands are whole numbers below 2^15, exact in
    // single precision, and the quotient (at most 124) is rounded once, to
    // within 2^-17 of the true one, while a quotient that is not a whole
    // number is at least 1/d >= 1/255 away from the next one: truncating it
    // gives the exact result.
    const float shifted = (float)(60 * difference + 64 * divisor) / (float)divisor;
    const int raw = base - 64 + (int)shifted;
    *hue = raw < 0 ? raw + 360 : raw;
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
