// Lines, rectangles, boxes and circles, painted and inverted.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

#include "pixel_fixture.h"
#include "tavkit.h"

namespace {

using Point = std::pair<int, int>;

class DrawShapes : public PixelImages {
protected:
    // The points of a w x h 32-bit image that are not black.
    static std::set<Point> Painted(const uint32_t* px, int w, int h)
    {
        std::set<Point> points;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (px[y * w + x]) points.insert({x, y});
        return points;
    }
};

TEST_F(DrawShapes, LinesPlotBothEndsInEitherDirection)
{
    struct Case { int x0, y0, x1, y1; std::set<Point> points; };
    const Case cases[] = {
        // x-major: e starts at 3, y steps at x = 2 and x = 4.
        {0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
        {5, 2, 0, 0, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
        // y-major, y falling.
        {1, 5, 3, 0, {{1, 5}, {1, 4}, {2, 3}, {2, 2}, {3, 1}, {3, 0}}},
        {3, 3, 3, 3, {{3, 3}}},
        {2, 4, 2, 1, {{2, 1}, {2, 2}, {2, 3}, {2, 4}}},
        {4, 0, 1, 0, {{1, 0}, {2, 0}, {3, 0}, {4, 0}}},
        {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
    };
    for (const Case& c : cases) {
        uint32_t* px = Make32(0, 8, 8);
        TAV_DrawLine(c.x0, c.y0, c.x1, c.y1, 0x00FF00);
        EXPECT_EQ(Painted(px, 8, 8), c.points) << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
        EXPECT_EQ(PenPosition.x, c.x1);
        EXPECT_EQ(PenPosition.y, c.y1);
    }
}

TEST_F(DrawShapes, LinesBeyondTheImageKeepTheirPixelsInside)
{
    uint32_t* px = Make32(0, 4, 4);
    TAV_DrawLine(-3, -3, 6, 6, 1);
    EXPECT_EQ(Painted(px, 4, 4), (std::set<Point>{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
    // End points near the ends of the int range do not overflow the walk.
    TAV_DrawLine(0, 3, 0, 2147483647, 1);
    TAV_DrawLine(-2147483647 - 1, 3, 2147483647, 3, 1);
    EXPECT_EQ(px[3 * 4 + 3], 1u);
}

TEST_F(DrawShapes, RectangleAndBoxCoverTheirCorners)
{
    uint32_t* px = Make32(0, 8, 8);
    DrawingColor = 0x0000FF;
    TAV_DrawRect(5, 4, 1, 1);
    std::set<Point> outline;
    for (int x = 1; x <= 5; ++x) outline.insert({x, 1}), outline.insert({x, 4});
    for (int y = 1; y <= 4; ++y) outline.insert({1, y}), outline.insert({5, y});
    EXPECT_EQ(Painted(px, 8, 8), outline);
    EXPECT_EQ(PenPosition.x, 5);
    EXPECT_EQ(PenPosition.y, 4);

    // A box from (0, 0) to (256, 256) covers 257 x 257 pixels.
    uint8_t* bytes = Make8(1, 300, 300);
    TAV_DrawBox(256, 256, 0, 0, 0x11, 0x22);
    int border = 0, fill = 0, other = 0;
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 300; ++x) {
            const uint8_t b = bytes[y * 300 + x];
            if (b == 0x11) ++border;
            else if (b == 0x22) ++fill;
            else if (b != 0 || (x <= 256 && y <= 256)) ++other;
        }
    }
    EXPECT_EQ(border, 4 * 256);
    EXPECT_EQ(fill, 255 * 255);
    EXPECT_EQ(other, 0);
}

TEST_F(DrawShapes, CircleOfRadiusZeroIsItsCentre)
{
    uint32_t* px = Make32(0, 5, 5);
    TAV_DrawCircle(2, 2, 0, 0xFFFFFF);
    EXPECT_EQ(Painted(px, 5, 5), (std::set<Point>{{2, 2}}));
    EXPECT_EQ(PenPosition.x, 2);
    EXPECT_EQ(PenPosition.y, 2);
}

TEST_F(DrawShapes, CircleOfRadiusSevenWalksToIFive)
{
    uint32_t* px = Make32(0, 21, 21);
    TAV_DrawCircle(10, 10, 7, 0xFFFFFF);
    // The octant (i, x) of the walk, i = 0..5, mirrored eight ways.
    const Point octant[] = {{0, 7}, {1, 7}, {2, 7}, {3, 6}, {4, 6}, {5, 5}};
    std::set<Point> expected;
    for (const Point& p : octant) {
        for (int sx : {-1, 1}) {
            for (int sy : {-1, 1}) {
                expected.insert({10 + sx * p.first, 10 + sy * p.second});
                expected.insert({10 + sx * p.second, 10 + sy * p.first});
            }
        }
    }
    EXPECT_EQ(expected.size(), 40u);
    EXPECT_EQ(Painted(px, 21, 21), expected);
    // The last pixel plotted is (cx - X, cy - i) at i = 5.
    EXPECT_EQ(PenPosition.x, 5);
    EXPECT_EQ(PenPosition.y, 5);
}

// Each XOR shape inverts exactly the pixels its painting form covers, each
// once (so its single pass on black shows the same set), and a second pass
// restores every pixel. Figures are random, partly outside, and include
// one-pixel rows, columns and r = 0 disks.
TEST_F(DrawShapes, XorShapesInvertEachPixelOnceAndUndoThemselves)
{
    const int W = 40, H = 30;
    std::mt19937 rng(12345);
    auto coord = [&](int size) { return (int)(rng() % (size + 20)) - 10; };
    for (int round = 0; round < 400; ++round) {
        const int kind = round % 5;
        int x0 = coord(W), y0 = coord(H), x1 = coord(W), y1 = coord(H);
        if (round % 7 == 0) y1 = y0;      // one pixel high
        if (round % 11 == 0) x1 = x0;     // one pixel wide
        int r = (int)(rng() % 14);
        if (round % 9 == 0) r = 0;

        // Painted reference on black.
        uint32_t* paint = Make32(0, W, H);
        DrawingColor = 0xFFFFFF;
        switch (kind) {
        case 0: TAV_DrawLine(x0, y0, x1, y1, 0xFFFFFF); break;
        case 1: TAV_DrawRect(x0, y0, x1, y1); break;
        case 2: TAV_DrawBox(x0, y0, x1, y1, 0xFFFFFF, 0xFFFFFF); break;
        case 3: TAV_DrawCircle(x0, y0, r, 0xFFFFFF); break;
        case 4: TAV_FillCircle(x0, y0, r); break;
        }
        const std::set<Point> expected = Painted(paint, W, H);

        // One XOR pass on black, then on random pixels twice, in 32 and 8 bits.
        auto drawXor = [&] {
            switch (kind) {
            case 0: TAV_XorLine(x0, y0, x1, y1); break;
            case 1: TAV_XorRect(x0, y0, x1, y1); break;
            case 2: TAV_XorFillBox(x0, y0, x1, y1); break;
            case 3: TAV_XorCircle(x0, y0, r); break;
            case 4: TAV_XorFillCircle(x0, y0, r); break;
            }
        };
        uint32_t* once = Make32(1, W, H);
        drawXor();
        // A zero radius inverts the single centre point an even number of times.
        const bool vanishes = kind >= 3 && r == 0;
        EXPECT_EQ(Painted(once, W, H), vanishes ? std::set<Point>{} : expected)
            << "shape " << kind << " at " << x0 << "," << y0 << " " << x1 << "," << y1 << " r " << r;

        for (int bits : {32, 8}) {
            if (bits == 32) {
                uint32_t* px = Make32(2, W, H);
                for (int i = 0; i < W * H; ++i) px[i] = rng();
            } else {
                uint8_t* px = Make8(2, W, H);
                for (int i = 0; i < Stride8(W) * H; ++i) px[i] = (uint8_t)rng();
            }
            const std::vector<uint8_t> before = Snapshot(2);
            drawXor();
            drawXor();
            EXPECT_EQ(Snapshot(2), before) << "shape " << kind << " in " << bits << " bits";
        }
    }
}

TEST_F(DrawShapes, XorOutlinesOneApartHaveNoSides)
{
    // Rectangles one pixel high, one pixel wide and a single pixel: every
    // point of the outline is inverted, none twice.
    struct Case { int x0, y0, x1, y1; int count; };
    const Case cases[] = {{1, 2, 6, 2, 6}, {3, 1, 3, 6, 6}, {4, 4, 4, 4, 1}, {1, 1, 2, 2, 4}, {1, 1, 5, 4, 14}};
    for (const Case& c : cases) {
        uint32_t* px = Make32(0, 8, 8);
        TAV_XorRect(c.x0, c.y0, c.x1, c.y1);
        EXPECT_EQ((int)Painted(px, 8, 8).size(), c.count) << c.x0 << "," << c.y0 << " " << c.x1 << "," << c.y1;
    }
}

} // namespace
