// The integer colour models: HSV and its inverse, luma and colour differences.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "tavkit.h"

namespace {

struct Hsv { int h, s, v; };

Hsv ToHsv(uint32_t c)
{
    Hsv t;
    TAV_RGBtoHSV(c, &t.h, &t.s, &t.v);
    return t;
}

TEST(ColourModels, HsvOfPrimariesGreysAndAMixedColour)
{
    struct Case { uint32_t color; Hsv hsv; };
    const Case cases[] = {
        {0xFF0000, {0, 255, 255}},  {0x00FF00, {120, 255, 255}}, {0x0000FF, {240, 255, 255}},
        {0xFFFF00, {60, 255, 255}}, {0xFF00FF, {300, 255, 255}}, {0x00FFFF, {180, 255, 255}},
        {0x808080, {0, 0, 128}},    {0x000000, {0, 0, 0}},       {0xFFFFFF, {0, 0, 255}},
        {0x123456, {210, 68, 86}},  {0x000351, {237, 81, 81}},
        // Red maximum with green = blue minimum is hue 0, never 360.
        {0xC81414, {0, 180, 200}},
        // The top byte is ignored.
        {0xFF123456, {210, 68, 86}},
    };
    for (const Case& c : cases) {
        const Hsv t = ToHsv(c.color);
        EXPECT_EQ(t.h, c.hsv.h) << std::hex << c.color;
        EXPECT_EQ(t.s, c.hsv.s) << std::hex << c.color;
        EXPECT_EQ(t.v, c.hsv.v) << std::hex << c.color;
        EXPECT_EQ(TAV_GetHue(c.color), c.hsv.h);
        EXPECT_EQ(TAV_GetSaturation(c.color), c.hsv.s);
        EXPECT_EQ(TAV_GetValue(c.color), c.hsv.v);
        if (c.color != 0x000351 && c.color <= 0xFFFFFF) {
            EXPECT_EQ(TAV_HSVtoRGB(c.hsv.v, c.hsv.s, c.hsv.h), c.color) << std::hex << c.color;
        }
    }
    // The hue of 0x000351 was truncated, so it comes back with green 4.
    EXPECT_EQ(TAV_HSVtoRGB(81, 81, 237), 0x000451u);
}

TEST(ColourModels, HsvToRgbOfEachSector)
{
    struct Case { int v, s, h; uint32_t color; };
    const Case cases[] = {
        {200, 100, 30, 0xC89664},  {200, 100, 90, 0x96C864},  {200, 100, 150, 0x64C896},
        {200, 100, 210, 0x6496C8}, {200, 100, 270, 0x9664C8}, {200, 100, 330, 0xC86496},
        // Saturation above the value: the minimum is 0.
        {50, 90, 0, 0x320000},
    };
    for (const Case& c : cases) EXPECT_EQ(TAV_HSVtoRGB(c.v, c.s, c.h), c.color) << c.h;
}

// The rows in their order with plain divisions, as a reference for the
// table-driven conversion.
int ReferenceHue(int r, int g, int b)
{
    const int hi = std::max(r, std::max(g, b)), lo = std::min(r, std::min(g, b)), d = hi - lo;
    if (d == 0) return 0;
    if (r == hi && b == lo) return 60 * (g - b) / d;
    if (g == hi && b == lo) return 60 + 60 * (g - r) / d;
    if (g == hi && r == lo) return 120 + 60 * (b - r) / d;
    if (b == hi && r == lo) return 180 + 60 * (b - g) / d;
    if (b == hi && g == lo) return 240 + 60 * (r - g) / d;
    return 300 + 60 * (r - b) / d;
}

// Over all 2^24 colours: the hue follows the rows exactly and stays in
// 0..359; going back keeps the maximum and the minimum channel where they
// were, and the middle channel, moved only by the truncated hue, stays within
// ceil(S / 60) of its value.
TEST(ColourModels, EveryColourAndItsRoundTrip)
{
    long wrongHue = 0, wrongExtreme = 0, wrongMiddle = 0, exact = 0;
    for (uint32_t c = 0; c < (1u << 24); ++c) {
        const int ch[3] = {(int)(c >> 16), (int)((c >> 8) & 0xFF), (int)(c & 0xFF)};
        int h, s, v;
        TAV_RGBtoHSV(c, &h, &s, &v);
        const int hi = std::max(ch[0], std::max(ch[1], ch[2]));
        const int lo = std::min(ch[0], std::min(ch[1], ch[2]));
        if (h != ReferenceHue(ch[0], ch[1], ch[2]) || h < 0 || h > 359 || s != hi - lo || v != hi) {
            if (++wrongHue < 5) ADD_FAILURE() << std::hex << c << std::dec << " -> " << h << "," << s << "," << v;
        }
        const uint32_t back = TAV_HSVtoRGB(v, s, h);
        exact += back == c;
        const int out[3] = {(int)(back >> 16), (int)((back >> 8) & 0xFF), (int)(back & 0xFF)};
        for (int k = 0; k < 3; ++k) {
            if (ch[k] == hi || ch[k] == lo) {
                wrongExtreme += out[k] != ch[k];
            } else if (std::abs(out[k] - ch[k]) > (s + 59) / 60) {
                if (++wrongMiddle < 5) ADD_FAILURE() << std::hex << c << " back as " << back;
            }
        }
        wrongExtreme += (back >> 24) != 0;
    }
    EXPECT_EQ(wrongHue, 0);
    EXPECT_EQ(wrongExtreme, 0);
    EXPECT_EQ(wrongMiddle, 0);
    // Greys and every colour with a middle channel at an extreme come back exactly, among others.
    EXPECT_GT(exact, 256 * 256 * 6);
}

TEST(ColourModels, LumaAndColourDifferences)
{
    struct Case { uint32_t color; int y, cr, cb, u, v, i, q; };
    const Case cases[] = {
        {0xFF0000, 76, 128, -42, -36, 157, 152, 53},
        {0x0000FF, 29, -20, 128, 111, -25, -81, 74},
        {0xFFFFFF, 255, 0, 0, 0, 0, 0, 0},
        {0x000000, 0, 0, 0, 0, 0, 0, 0},
        // Negative sums are truncated toward zero; the top byte is ignored.
        {0xFF00FF00, 150, -106, -83, -73, -130, -69, -126},
    };
    for (const Case& c : cases) {
        int y1, y2, y3, cr, cb, u, v, i, q;
        TAV_RGBtoYCrCb(c.color, &y1, &cr, &cb);
        TAV_RGBtoYuv(c.color, &y2, &u, &v);
        TAV_RGBtoYIQ(c.color, &y3, &i, &q);
        EXPECT_EQ(TAV_RGBtoY(c.color), c.y) << std::hex << c.color;
        EXPECT_EQ(y1, c.y);
        EXPECT_EQ(y2, c.y);
        EXPECT_EQ(y3, c.y);
        EXPECT_EQ(cr, c.cr) << std::hex << c.color;
        EXPECT_EQ(cb, c.cb) << std::hex << c.color;
        EXPECT_EQ(u, c.u) << std::hex << c.color;
        EXPECT_EQ(v, c.v) << std::hex << c.color;
        EXPECT_EQ(i, c.i) << std::hex << c.color;
        EXPECT_EQ(q, c.q) << std::hex << c.color;
    }
}

} // namespace
