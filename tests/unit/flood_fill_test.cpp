// The scan-line flood fill on 32-bit and 8-bit images.
#include <gtest/gtest.h>

#include <queue>
#include <random>
#include <vector>

#include "pixel_fixture.h"
#include "tavkit.h"

namespace {

using FloodFill = PixelImages;

// Plain four-connected fill of the seed's region, as a reference.
std::vector<uint32_t> ReferenceFill(std::vector<uint32_t> px, int w, int h, int sx, int sy, uint32_t fill)
{
    const uint32_t target = px[sy * w + sx];
    if (target == fill) return px;
    std::queue<std::pair<int, int>> open;
    open.push({sx, sy});
    px[sy * w + sx] = fill;
    while (!open.empty()) {
        const auto [x, y] = open.front();
        open.pop();
        const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
        for (const auto& n : next) {
            if (n[0] < 0 || n[1] < 0 || n[0] >= w || n[1] >= h || px[n[1] * w + n[0]] != target) continue;
            px[n[1] * w + n[0]] = fill;
            open.push({n[0], n[1]});
        }
    }
    return px;
}

TEST_F(FloodFill, FillsTheInsideOfAOnePixelOutlineOnly)
{
    const int W = 24, H = 24;
    uint32_t* px = Make32(0, W, H);
    TAV_DrawCircle(12, 12, 9, 0x0000FF);
    TAV_DrawLine(3, 12, 21, 12, 0x0000FF); // splits the disk into two halves
    const std::vector<uint32_t> before(px, px + W * H);
    DrawingColor = 0x00FF00;
    TAV_FloodFill(12, 8);
    const std::vector<uint32_t> expected = ReferenceFill(before, W, H, 12, 8, 0x00FF00);
    EXPECT_EQ(std::vector<uint32_t>(px, px + W * H), expected);
    // The upper half is green, the lower half and the outside stay black.
    EXPECT_EQ(px[8 * W + 12], 0x00FF00u);
    EXPECT_EQ(px[16 * W + 12], 0u);
    EXPECT_EQ(px[0], 0u);
}

TEST_F(FloodFill, MatchesAPlainFillOnRandomMazes)
{
    const int W = 48, H = 40;
    std::mt19937 rng(7);
    for (int round = 0; round < 30; ++round) {
        uint32_t* px = Make32(0, W, H);
        for (int i = 0; i < W * H; ++i) px[i] = (rng() % 100) < 35 ? 0x808080 : 0x000000;
        const int sx = (int)(rng() % W), sy = (int)(rng() % H);
        const std::vector<uint32_t> before(px, px + W * H);
        DrawingColor = 0xFF2020;
        TAV_FloodFill(sx, sy);
        EXPECT_EQ(std::vector<uint32_t>(px, px + W * H), ReferenceFill(before, W, H, sx, sy, 0xFF2020))
            << "round " << round;
    }
}

TEST_F(FloodFill, SeedOutsideOrAlreadyFilledChangesNothing)
{
    uint32_t* px = Make32(0, 6, 6);
    px[7] = 0xFFFFFF;
    PenPosition = TavPoint{-5, -5};
    DrawingColor = 0xFFFFFF;
    TAV_FloodFill(1, 1);
    TAV_FloodFill(-1, 2);
    TAV_FloodFill(2, 6);
    for (int i = 0; i < 36; ++i) EXPECT_EQ(px[i], i == 7 ? 0xFFFFFFu : 0u);
    EXPECT_EQ(PenPosition.x, -5);
}

TEST_F(FloodFill, PenEndsAtTheEndOfTheLastSpan)
{
    Make32(0, 5, 3);
    DrawingColor = 0x010101;
    TAV_FloodFill(2, 2);
    // Seeds are pushed above only (row 1), the last span painted is row 0.
    EXPECT_EQ(PenPosition.x, 4);
    EXPECT_EQ(PenPosition.y, 0);
}

// A region of words whose top byte is 0xFF touching every edge: the target
// equals the outside answer of TAV_ProbePixel, yet the fill stays inside.
TEST_F(FloodFill, OutsideNeverHasTheTargetColour)
{
    const int W = 9, H = 7;
    uint32_t* px = Make32(0, W, H);
    for (int i = 0; i < W * H; ++i) px[i] = 0xFFFFFFFFu;
    px[3 * W + 4] = 0x00123456;
    DrawingColor = 0x00FF00;
    TAV_FloodFill(0, 0);
    for (int i = 0; i < W * H; ++i) EXPECT_EQ(px[i], i == 3 * W + 4 ? 0x00123456u : 0x00FF00u) << i;
}

TEST_F(FloodFill, EightBitRegionsAreFilledWithTheLowByte)
{
    const int W = 10, H = 6, S = Stride8(W);
    uint8_t* px = Make8(0, W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) px[y * S + x] = (x == 5 || y == 3) ? 200 : 7;
    DrawingColor = 0xABCD42;
    TAV_FloodFill(1, 1);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < S; ++x) {
            const int expected = x >= W ? 0 : (x == 5 || y == 3) ? 200 : (x < 5 && y < 3) ? 0x42 : 7;
            EXPECT_EQ(px[y * S + x], expected) << x << "," << y;
        }
    }
}

// On an 8-bit image the seed byte is compared with the byte the fill would
// store: a seed equal to DrawingColor's low byte is already filled.
TEST_F(FloodFill, EightBitSeedEqualToTheLowByteStopsAtOnce)
{
    uint8_t* px = Make8(0, 6, 4);
    for (int i = 0; i < 24; ++i) px[i] = 0x05;
    const std::vector<uint8_t> before = Snapshot(0);
    PenPosition = TavPoint{-1, -1};
    DrawingColor = 0x123405;
    TAV_FloodFill(2, 2);
    EXPECT_EQ(Snapshot(0), before);
    EXPECT_EQ(PenPosition.x, -1);
}

TEST_F(FloodFill, ASeedStackOf4000DropsTheRest)
{
    // Vertical one-pixel corridors, each joined to the bottom row only: every
    // corridor costs one seed, and the stack never holds more than 4000.
    const int W = 2 * 5000, H = 4;
    uint8_t* px = Make8(0, W, H);
    const int S = Stride8(W);
    for (int y = 0; y < H - 1; ++y)
        for (int x = 1; x < W; x += 2) px[y * S + x] = 1; // walls
    DrawingColor = 9;
    TAV_FloodFill(0, H - 1);
    int filledCorridors = 0;
    for (int x = 0; x < W; x += 2) filledCorridors += px[0 * S + x] == 9;
    EXPECT_EQ(px[(H - 1) * S + W - 1], 9);   // the whole bottom row
    EXPECT_EQ(filledCorridors, 4000);
}

} // namespace
