// Window-free rules of the image table: selection history, block copies,
// display fitting, zoom steps and titles.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "image/image_fit.h"
#include "image/image_table.h"
#include "image/image_title.h"
#include "tavkit.h"

namespace {

// Marks slots as in use without any window behind them.
struct ImageTableFixture : testing::Test {
    void SetUp() override { ClearImageTable(); }
    void TearDown() override { ClearImageTable(); }
    void Occupy(int n) { ImageTable[n].inUse = 1; }
    std::vector<int> History() { return std::vector<int>(SelectionHistory, SelectionHistory + SelectionHistoryDepth); }
};

using Selection = ImageTableFixture;

TEST_F(Selection, NineSelectionsKeepTheLastEightPreviousImages)
{
    for (int n = 1; n <= 9; ++n) Occupy(n);
    for (int n = 1; n <= 9; ++n) ASSERT_EQ(TAV_SelectImage(n), 0);
    EXPECT_EQ(CurrentImage, 9);
    EXPECT_EQ(History(), (std::vector<int>{8, 7, 6, 5, 4, 3, 2, 1}));
    // Selecting the current image again still pushes it.
    EXPECT_EQ(TAV_SelectImage(9), 0);
    EXPECT_EQ(History(), (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2}));
}

TEST_F(Selection, RefusedNumbersChangeNothing)
{
    Occupy(3);
    ASSERT_EQ(TAV_SelectImage(3), 0);
    for (int n : {-1, 256, 1000, 4}) {
        EXPECT_EQ(TAV_SelectImage(n), 1) << n;
        EXPECT_EQ(CurrentImage, 3);
        EXPECT_EQ(History(), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0}));
    }
    // Image 0 was current at start but does not exist: nothing to go back to.
    EXPECT_EQ(TAV_RestoreImage(), 1);
    EXPECT_EQ(CurrentImage, 3);
}

TEST_F(Selection, RestoreOverADestroyedEntryIsRefusedUntilANewSelection)
{
    const int A = 5, B = 6, C = 7;
    for (int n : {A, B, C}) Occupy(n);
    TAV_SelectImage(A);
    TAV_SelectImage(B);
    ImageTable[A].inUse = 0; // destroyed
    EXPECT_EQ(TAV_RestoreImage(), 1);
    EXPECT_EQ(CurrentImage, B);
    EXPECT_EQ(TAV_RestoreImage(), 1);
    EXPECT_EQ(CurrentImage, B);
    TAV_SelectImage(C);
    EXPECT_EQ(TAV_RestoreImage(), 0);
    EXPECT_EQ(CurrentImage, B);
}

TEST_F(Selection, SevenRestoresOfAFullHistoryLeaveTheOldestEverywhere)
{
    for (int n = 1; n <= 9; ++n) Occupy(n);
    for (int n = 1; n <= 9; ++n) TAV_SelectImage(n);
    for (int i = 0; i < 7; ++i) ASSERT_EQ(TAV_RestoreImage(), 0);
    EXPECT_EQ(CurrentImage, 2);
    EXPECT_EQ(History(), std::vector<int>(8, 1));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(TAV_RestoreImage(), 0);
        EXPECT_EQ(CurrentImage, 1);
        EXPECT_EQ(History(), std::vector<int>(8, 1));
    }
}

TEST_F(Selection, ImageFromWindowFindsOnlyImagesInUse)
{
    int windowA = 0, windowB = 0; // any distinct addresses serve as handles
    ImageTable[4].window = &windowA;
    ImageTable[9].window = &windowA;
    ImageTable[2].window = &windowB; // free slot: not found
    Occupy(4);
    Occupy(9);
    EXPECT_EQ(ImageFromWindow(&windowA), 4);
    EXPECT_EQ(ImageFromWindow(&windowB), -1);
    EXPECT_EQ(SelectImageFromWindow(&windowB), -1);
    EXPECT_EQ(CurrentImage, 0);
    EXPECT_EQ(SelectImageFromWindow(&windowA), 4);
    EXPECT_EQ(CurrentImage, 4);
}

// ---- Block copies ----------------------------------------------------------------

// A current image of the given size whose pixels live in an exactly sized
// vector, so any access past the buffer is caught.
struct BlockFixture : ImageTableFixture {
    std::vector<uint32_t> pixels32;
    std::vector<uint8_t> pixels8;
    void MakeCurrent(int n, int bits, int width, int height)
    {
        ImageSlot& s = ImageTable[n];
        s.bits = bits;
        s.width = width;
        s.height = height;
        if (bits == 32) {
            pixels32.assign((size_t)width * height, 0);
            for (size_t i = 0; i < pixels32.size(); ++i) pixels32[i] = 0x100000 + (uint32_t)i;
            Pixels32[n] = pixels32.data();
            Pixels8[n] = (uint8_t*)pixels32.data();
        } else {
            pixels8.assign((size_t)Stride8(width) * height, 0);
            for (size_t i = 0; i < pixels8.size(); ++i) pixels8[i] = (uint8_t)(1 + i);
            Pixels8[n] = pixels8.data();
            Pixels32[n] = nullptr;
        }
        Occupy(n);
        TAV_SelectImage(n);
    }
};

using Block = BlockFixture;

TEST_F(Block, ReadGivesZeroOutsideTheImage)
{
    MakeCurrent(1, 32, 4, 3);
    uint32_t block[3 * 3];
    TAV_ReadImageBlock(block, -1, 1, 3, 3); // columns -1..1, rows 1..3
    const uint32_t expected[] = {0, pixels32[4], pixels32[5],
                                 0, pixels32[8], pixels32[9],
                                 0, 0,           0};
    EXPECT_EQ(0, memcmp(block, expected, sizeof block));

    TAV_ReadImageBlock(block, 3, -1, 3, 3); // one column left at the right edge, row -1 outside
    const uint32_t edge[] = {0, 0, 0, pixels32[3], 0, 0, pixels32[7], 0, 0};
    EXPECT_EQ(0, memcmp(block, edge, sizeof block));
}

TEST_F(Block, ReadOfAnEightBitImageFollowsThePaddedRows)
{
    MakeCurrent(2, 8, 5, 2); // stride 8
    uint8_t block[2 * 6];
    TAV_ReadImageBlock(block, 0, 0, 6, 2);
    const uint8_t expected[] = {1, 2, 3, 4, 5, 0, 9, 10, 11, 12, 13, 0};
    EXPECT_EQ(0, memcmp(block, expected, sizeof block));
}

TEST_F(Block, WriteTooWideKeepsToTheImageAndStartsAtTheTopRow)
{
    MakeCurrent(3, 32, 4, 2);
    const std::vector<uint32_t> before = pixels32;
    std::vector<uint32_t> block(6 * 3); // wider and taller than what is left
    for (size_t i = 0; i < block.size(); ++i) block[i] = 0xA00000 + (uint32_t)i;
    TAV_WriteImageBlock(block.data(), 2, 6, 3);
    std::vector<uint32_t> expected = before;
    expected[2] = block[0]; expected[3] = block[1];
    expected[6] = block[6]; expected[7] = block[7];
    EXPECT_EQ(pixels32, expected);

    // A block starting left of the image loses its first column.
    MakeCurrent(4, 8, 3, 2);
    std::vector<uint8_t> before8 = pixels8;
    const uint8_t small[] = {0xE0, 0xE1, 0xE2, 0xE3};
    TAV_WriteImageBlock(small, -1, 2, 2);
    before8[0] = 0xE1;
    before8[4] = 0xE3; // row 1 begins at the stride of 4
    EXPECT_EQ(pixels8, before8);
}

TEST_F(Block, NothingHappensWithoutACurrentImage)
{
    MakeCurrent(5, 32, 2, 2);
    ImageTable[5].inUse = 0; // destroyed while current
    const std::vector<uint32_t> before = pixels32;
    uint32_t block[4] = {7, 7, 7, 7};
    TAV_ReadImageBlock(block, 0, 0, 2, 2);
    EXPECT_EQ(block[0], 7u);
    TAV_WriteImageBlock(block, 0, 2, 2);
    EXPECT_EQ(pixels32, before);
}

// ---- Display fitting --------------------------------------------------------------

const ClientSizeLimits Screen = {100, 20, 1920, 1150}; // a bounded window
const ClientSizeLimits Free = {1, 1, 3840, 2160};      // a free window

TEST(FitDisplaySize, Cases)
{
    struct Case { int w, h, zoom; ClientSizeLimits limits; bool fits; int fitW, fitH, fitZoom; };
    const Case cases[] = {
        {4000, 3000, 100, Screen, true, 1520, 1140, 38},  // lowered to fit the screen
        {10, 10, 100, Screen, true, 100, 100, 1000},      // raised to the minimum
        {640, 480, 111, Screen, true, 710, 532, 111},     // zoom-in steps that fit stay
        {640, 480, 123, Screen, true, 787, 590, 123},
        {640, 480, 137, Screen, true, 876, 657, 137},
        {1, 1, 113, Free, true, 1, 1, 113},
        {1, 1, 100, Screen, true, 100, 100, 10000},       // 1 x 1: raised
        {100000, 1, 100, Screen, false, 0, 0, 0},         // a strip no zoom can show
        {1920, 100, 200, Screen, true, 1920, 100, 100},   // exactly as wide as allowed
        {100, 100, 0, Screen, true, 100, 100, 100},       // no zoom at all: the smallest that shows
    };
    for (const Case& c : cases) {
        DisplayFit fit = {-1, -1, -1};
        const bool fits = FitDisplaySize(c.w, c.h, c.zoom, c.limits, &fit);
        EXPECT_EQ(fits, c.fits) << c.w << "x" << c.h << "@" << c.zoom;
        if (!fits || !c.fits) continue;
        EXPECT_EQ(fit.width, c.fitW) << c.w << "x" << c.h << "@" << c.zoom;
        EXPECT_EQ(fit.height, c.fitH) << c.w << "x" << c.h << "@" << c.zoom;
        EXPECT_EQ(fit.zoom, c.fitZoom) << c.w << "x" << c.h << "@" << c.zoom;
    }
}

// Over a grid of sizes and zooms: a zoom that fits comes back unchanged, and
// every fitted display keeps within the limits.
TEST(FitDisplaySize, AZoomThatFitsIsKept)
{
    for (int w = 1; w <= 700; w += 13) {
        for (int h = 1; h <= 700; h += 29) {
            for (int z = 1; z <= 400; ++z) {
                const int64_t dw = (int64_t)w * z / 100, dh = (int64_t)h * z / 100;
                DisplayFit fit;
                ASSERT_TRUE(FitDisplaySize(w, h, z, Free, &fit));
                ASSERT_GE(fit.width, Free.minWidth);
                ASSERT_LE(fit.width, Free.maxWidth);
                ASSERT_LE(fit.height, Free.maxHeight);
                const bool fitsAsAsked = (int64_t)w * z <= 100LL * Free.maxWidth &&
                                         (int64_t)h * z <= 100LL * Free.maxHeight && dw >= 1 && dh >= 1;
                if (fitsAsAsked) {
                    ASSERT_EQ(fit.zoom, z) << w << "x" << h;
                    ASSERT_EQ(fit.width, dw);
                    ASSERT_EQ(fit.height, dh);
                }
            }
        }
    }
}

TEST(ZoomSteps, InAndOut)
{
    int in[4] = {100}, out[4] = {100};
    for (int i = 1; i < 4; ++i) {
        in[i] = ZoomInStep(in[i - 1]);
        out[i] = ZoomOutStep(out[i - 1]);
    }
    EXPECT_EQ(std::vector<int>(in, in + 4), (std::vector<int>{100, 111, 123, 137}));
    EXPECT_EQ(std::vector<int>(out, out + 4), (std::vector<int>{100, 90, 81, 73}));
    EXPECT_EQ(ZoomInStep(4), 4);
    EXPECT_EQ(ZoomOutStep(5), 5);
}

TEST(ImageBuffer, BytesOfBothDepths)
{
    EXPECT_EQ(ImageBufferBytes(5, 3, 8), 24);
    EXPECT_EQ(ImageBufferBytes(5, 3, 32), 60);
    EXPECT_GT(ImageBufferBytes(65536, 32768, 32), MaxImageBufferBytes); // 2^33: past 32-bit sizes
}

// ---- Titles -------------------------------------------------------------------------

TEST(ImageTitle, NameZoomDepthAndHalftoneMark)
{
    struct Case { const char* name; int zoom, bits; bool halftone; const char* title; };
    const Case cases[] = {
        {"photo", 100, 32, false, "photo(100%)"},
        {"depth", 38, 8, true, "depth(38%)[8bit]*"},
        {"display", 1000, 32, true, "display(1000%)*"},
        {"", 50, 8, false, "(50%)[8bit]"},
        {nullptr, 50, 32, false, "(50%)"},
    };
    for (const Case& c : cases) {
        char title[ImageTitleBytes];
        FormatImageTitle(c.name, c.zoom, c.bits, c.halftone, nullptr, title);
        EXPECT_STREQ(title, c.title);
    }
}

TEST(ImageTitle, LongNameIsCutAndTheRestShows)
{
    const std::string name(400, 'n');
    char guarded[ImageTitleBytes + 8];
    memset(guarded, '#', sizeof guarded);
    FormatImageTitle(name.c_str(), 1000, 8, true, nullptr, guarded);
    const std::string tail = "(1000%)[8bit]*";
    EXPECT_EQ(std::string(guarded), std::string(255 - tail.size(), 'n') + tail);
    EXPECT_EQ(std::string(guarded + ImageTitleBytes, 8), std::string(8, '#'));
}

// Bytes from 0x81 up stand for double-byte lead bytes here.
bool HighLead(unsigned char c) { return c >= 0x81; }

TEST(ImageTitle, CutNeverSplitsADoubleByteCharacter)
{
    const std::string tail = "(100%)"; // leaves 249 bytes of name
    for (int lead = 0; lead < 2; ++lead) {
        std::string name(lead, 'a'); // shifts the double-byte pairs by one
        while (name.size() < 300) name += "\x82\xA0";
        char title[ImageTitleBytes];
        FormatImageTitle(name.c_str(), 100, 32, false, HighLead, title);
        const std::string text(title);
        ASSERT_EQ(text.substr(text.size() - tail.size()), tail);
        const size_t nameBytes = text.size() - tail.size();
        EXPECT_LE(nameBytes, 249u);
        EXPECT_EQ((nameBytes - lead) % 2, 0u) << "lead " << lead;
        EXPECT_EQ(text.substr(0, nameBytes), name.substr(0, nameBytes));
    }
}

} // namespace
