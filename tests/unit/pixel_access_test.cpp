// Single-pixel access on 32-bit and 8-bit images, the pen, clearing, and the
// pixel colour report.
#include <gtest/gtest.h>

#include <string>

#include "imageops/pixel_report.h"
#include "pixel_fixture.h"
#include "tavkit.h"

namespace {

using PixelAccess = PixelImages;

TEST_F(PixelAccess, PointsOutsideAreIgnoredButMoveThePen)
{
    uint32_t* px = Make32(3, 4, 3);
    const std::vector<uint8_t> before = Snapshot(3);
    const int outside[][2] = {{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {-2147483647 - 1, 1}, {1, 2147483647}};
    for (const auto& p : outside) {
        TAV_SetPixel(p[0], p[1], 0x123456);
        EXPECT_EQ(PenPosition.x, p[0]);
        EXPECT_EQ(PenPosition.y, p[1]);
        TAV_PlotPixel(p[0], p[1], 0x123456);
        TAV_XorPixel(p[0], p[1]);
        TAV_XorPlotPixel(p[0], p[1]);
        EXPECT_EQ(TAV_GetPixel(p[0], p[1]), 0u);
        EXPECT_EQ(TAV_ProbePixel(p[0], p[1]), -1);
    }
    EXPECT_EQ(Snapshot(3), before);
    // Inside, a black pixel reads 0 from both readers.
    EXPECT_EQ(TAV_GetPixel(3, 2), 0u);
    EXPECT_EQ(TAV_ProbePixel(3, 2), 0);
    TAV_SetPixel(3, 2, 0xABCDEF);
    EXPECT_EQ(px[2 * 4 + 3], 0xABCDEFu);
}

TEST_F(PixelAccess, PlotAndXorPlotLeaveThePen)
{
    Make32(0, 4, 4);
    TAV_SetPixel(1, 2, 7);
    TAV_PlotPixel(3, 3, 7);
    TAV_XorPlotPixel(0, 0);
    EXPECT_EQ(PenPosition.x, 1);
    EXPECT_EQ(PenPosition.y, 2);
    TAV_XorPixel(2, 3);
    EXPECT_EQ(PenPosition.x, 2);
    EXPECT_EQ(PenPosition.y, 3);
}

TEST_F(PixelAccess, ThirtyTwoBitWordsAreStoredWhole)
{
    uint32_t* px = Make32(1, 3, 2);
    TAV_SetPixel(2, 1, 0xFF000000u);
    EXPECT_EQ(px[5], 0xFF000000u);
    EXPECT_EQ(TAV_GetPixel(2, 1), 0xFF000000u);
    EXPECT_EQ(TAV_ProbePixel(2, 1), (int)0xFF000000u);

    TAV_SetPixel(0, 0, 0xAB102030u); // red 16, green 32, blue 48
    TAV_XorPixel(0, 0);
    EXPECT_EQ(TAV_GetPixel(0, 0), 0xABEFDFCFu); // 239, 223, 207; top byte kept
    TAV_XorPlotPixel(0, 0);
    EXPECT_EQ(TAV_GetPixel(0, 0), 0xAB102030u);
}

TEST_F(PixelAccess, EightBitPixelsUseThePaddedStrideAndTheLowByte)
{
    uint8_t* px = Make8(2, 5, 3); // stride 8
    TAV_SetPixel(0, 1, 0x123456); // red 18, green 52, blue 86
    EXPECT_EQ(px[8], 86);
    EXPECT_EQ(TAV_GetPixel(0, 1), 86u);
    EXPECT_EQ(TAV_ProbePixel(0, 1), 86);
    TAV_PlotPixel(4, 2, 0xFFFFFFFF);
    EXPECT_EQ(px[2 * 8 + 4], 255);
    EXPECT_EQ(TAV_ProbePixel(4, 2), 255);
    TAV_XorPixel(0, 1);
    EXPECT_EQ(px[8], 255 - 86);
    // The padding bytes are never touched.
    for (int y = 0; y < 3; ++y)
        for (int x = 5; x < 8; ++x) EXPECT_EQ(px[y * 8 + x], 0);
}

// 8-bit pixels are written through the word that holds them: every write, at
// every place in a word, changes its own byte and no other.
TEST_F(PixelAccess, EightBitWritesChangeOnlyTheirOwnByte)
{
    uint8_t* px = Make8(2, 7, 3); // stride 8: one padding byte a row
    for (int i = 0; i < 8 * 3; ++i) px[i] = (uint8_t)(i * 37 + 11);
    std::vector<uint8_t> expected = Snapshot(2);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) {
            const size_t at = (size_t)y * 8 + (size_t)x;
            TAV_SetPixel(x, y, 0xABCD00u + (uint32_t)at);
            expected[at] = (uint8_t)at;
            ASSERT_EQ(Snapshot(2), expected) << "set " << x << "," << y;
            TAV_XorPlotPixel(x, y);
            expected[at] = (uint8_t)~at;
            ASSERT_EQ(Snapshot(2), expected) << "xor " << x << "," << y;
            EXPECT_EQ(TAV_GetPixel(x, y), (uint32_t)(uint8_t)~at);
        }
}

TEST_F(PixelAccess, AFreeOrInvalidCurrentImageIsNeverTouched)
{
    Make32(4, 2, 2);
    const std::vector<uint8_t> before = Snapshot(4);
    Free(4); // destroyed: the pointer tables keep their stale values
    for (int current : {4, 5, -1, 256}) {
        CurrentImage = current;
        TAV_SetPixel(0, 0, 0xFFFFFF);
        TAV_XorPixel(1, 1);
        EXPECT_EQ(TAV_GetPixel(0, 0), 0u);
        EXPECT_EQ(TAV_ProbePixel(0, 0), -1);
    }
    EXPECT_EQ(Snapshot(4), before);
}

TEST_F(PixelAccess, SelectingAnotherImageRedirectsAccess)
{
    uint32_t* a = Make32(10, 2, 2);
    uint8_t* b = Make8(11, 2, 2);
    CurrentImage = 10;
    TAV_SetPixel(1, 1, 0x010203);
    CurrentImage = 11;
    TAV_SetPixel(1, 1, 0x010203);
    EXPECT_EQ(a[3], 0x010203u);
    EXPECT_EQ(b[4 + 1], 3);
    EXPECT_EQ(TAV_GetPixel(1, 1), 3u);
}

TEST_F(PixelAccess, ClearImageBlackensOnlyThatImage)
{
    uint32_t* wide = Make32(20, 3, 2);
    uint8_t* narrow = Make8(21, 5, 2);
    for (int i = 0; i < 6; ++i) wide[i] = 0xFFFFFFFF;
    for (int i = 0; i < 16; ++i) narrow[i] = 0x5A;
    TAV_ClearImage(21);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(narrow[i], 0) << i; // padding included
    for (int i = 0; i < 6; ++i) EXPECT_EQ(wide[i], 0xFFFFFFFFu);
    TAV_ClearImage(20);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(wide[i], 0u);
    // Numbers without an image are ignored.
    for (int i = 0; i < 6; ++i) wide[i] = 1;
    Free(20);
    TAV_ClearImage(20);
    TAV_ClearImage(-1);
    TAV_ClearImage(256);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(wide[i], 1u);
}

TEST_F(PixelAccess, ReportOfAThirtyTwoBitPixel)
{
    Make32(0, 8, 8);
    TAV_SetPixel(5, 6, 0xFF0000);
    char text[512];
    const int n = FormatPixelReport(5, 6, text, sizeof text);
    const std::string expected =
        "(X,Y)=(5,6)\n(R,G,B)=(255,0,0)\n(H,S,V)=(0,255,255)\n(Y,Cr,Cb)=(76,128,-42)\n"
        "(Y,u,v)=(76,-36,157)\n(Y,I,Q)=(76,152,53)\n\n";
    EXPECT_EQ(std::string(text), expected);
    EXPECT_EQ(n, (int)expected.size());
}

TEST_F(PixelAccess, ReportOfAnEightBitPixelAndOfNoImage)
{
    Make8(0, 8, 8);
    TAV_SetPixel(1, 2, 0x3456);
    char text[128];
    FormatPixelReport(1, 2, text, sizeof text);
    EXPECT_STREQ(text, "(X,Y)=(1,2)\n(Luminance)=(86)\n\n");
    Free(0);
    FormatPixelReport(1, 2, text, sizeof text);
    EXPECT_STREQ(text, "(X,Y)=(1,2)\n");
}

TEST_F(PixelAccess, ReportIsCutToTheBuffer)
{
    Make32(0, 8, 8);
    char full[512];
    const int total = FormatPixelReport(0, 0, full, sizeof full);
    for (size_t size : {(size_t)1, (size_t)5, (size_t)14, (size_t)40, (size_t)total, (size_t)total + 1}) {
        std::vector<char> buffer(size + 8, '#');
        const int n = FormatPixelReport(0, 0, buffer.data(), size);
        const size_t kept = size - 1 < (size_t)total ? size - 1 : (size_t)total;
        EXPECT_EQ((size_t)n, kept) << size;
        EXPECT_EQ(std::string(buffer.data()), std::string(full, kept)) << size;
        for (size_t i = size; i < size + 8; ++i) EXPECT_EQ(buffer[i], '#') << size;
    }
}

} // namespace
