// The built-in font and bitmap-font text with its cursor.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "imageops/bitmap_font.h"
#include "pixel_fixture.h"
#include "tavkit.h"

namespace {

TEST(BitmapFont, GlyphsAreTheProjectsOwnAndComplete)
{
    const uint8_t a[GlyphHeight] = {0x00, 0x00, 0x18, 0x3C, 0x66, 0x66, 0x66, 0x7E, 0x66, 0x66, 0x66, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::vector<uint8_t>(GlyphBits('A'), GlyphBits('A') + GlyphHeight), std::vector<uint8_t>(a, a + GlyphHeight));
    std::set<std::vector<uint8_t>> seen;
    for (int code = 32; code <= 127; ++code) {
        const uint8_t* g = GlyphBits(code);
        ASSERT_NE(g, nullptr) << code;
        const std::vector<uint8_t> rows(g, g + GlyphHeight);
        const bool blank = rows == std::vector<uint8_t>(GlyphHeight, 0);
        EXPECT_EQ(blank, code == 32 || code == 127) << code;
        if (!blank) {
            EXPECT_TRUE(seen.insert(rows).second) << "glyph " << code << " repeats another";
        }
        // Nothing above the cell's second row is used except by tall marks.
        EXPECT_EQ(g[0], 0) << code;
    }
    EXPECT_EQ(GlyphBits(31), nullptr);
    EXPECT_EQ(GlyphBits(128), nullptr);
    // Descenders reach the bottom rows.
    for (int code : {'g', 'j', 'p', 'q', 'y'}) EXPECT_NE(GlyphBits(code)[12], 0) << (char)code;
}

class BitmapText : public PixelImages {
protected:
    // Pixels of a w x h 32-bit image equal to `color` inside the cell whose
    // left edge is x and whose baseline is `baseline`, as glyph rows.
    static std::vector<uint8_t> Cell(const uint32_t* px, int w, int x, int baseline, uint32_t color)
    {
        std::vector<uint8_t> rows(GlyphHeight, 0);
        for (int r = 0; r < GlyphHeight; ++r)
            for (int k = 0; k < GlyphWidth; ++k)
                if (px[(baseline - GlyphHeight + r) * w + x + k] == color) rows[r] |= (uint8_t)(0x80 >> k);
        return rows;
    }
    static std::vector<uint8_t> Glyph(int code) { return std::vector<uint8_t>(GlyphBits(code), GlyphBits(code) + GlyphHeight); }
    static int CountColour(const uint32_t* px, int n, uint32_t color)
    {
        int count = 0;
        for (int i = 0; i < n; ++i) count += px[i] == color;
        return count;
    }
};

TEST_F(BitmapText, CharacterSitsAboveTheBaselineAndAdvances)
{
    const int W = 40, H = 40;
    uint32_t* px = Make32(0, W, H);
    tav_tc = 0xFF8000;
    TextCursor = TavTextCursor{9, 3, 20};
    TAV_DrawChar('A');
    EXPECT_EQ(Cell(px, W, 9, 20, 0xFF8000), Glyph('A'));
    EXPECT_EQ(CountColour(px, W * H, 0xFF8000), 36); // the glyph's bits, nothing outside the cell
    EXPECT_EQ(TextCursor.x, 17);
    EXPECT_EQ(TextCursor.y, 20);
    EXPECT_EQ(TextCursor.leftMargin, 3);
    // The pen follows the pixels: the last one set is the glyph's last.
    EXPECT_EQ(PenPosition.x, 9 + 6);
    EXPECT_EQ(PenPosition.y, 20 - GlyphHeight + 10);
}

TEST_F(BitmapText, CodesWithoutAGlyphDrawNothingAndStay)
{
    uint32_t* px = Make32(0, 32, 32);
    tav_tc = 0xFFFFFF;
    TextCursor = TavTextCursor{4, 0, 20};
    for (int code : {200, 9, 0, 31, -56, 128, 255}) TAV_DrawChar(code);
    TAV_DrawChar(' ');
    TAV_DrawChar(127);
    EXPECT_EQ(CountColour(px, 32 * 32, 0), 32 * 32);
    EXPECT_EQ(TextCursor.x, 4 + 16); // only the two blank glyphs moved it
}

TEST_F(BitmapText, NewlineAndTheRightEdgeReturnToTheMargin)
{
    const int W = 40, H = 60;
    uint32_t* px = Make32(0, W, H);
    tav_tc = 0x00FF00;
    TextCursor = TavTextCursor{20, 5, 16};
    TAV_DrawChar('\n');
    EXPECT_EQ(TextCursor.x, 5);
    EXPECT_EQ(TextCursor.y, 32);

    // "A" at x = width - 8 is drawn whole, then the cursor wraps.
    TextCursor.x = W - 8;
    TAV_DrawChar('A');
    EXPECT_EQ(Cell(px, W, W - 8, 32, 0x00FF00), Glyph('A'));
    EXPECT_EQ(TextCursor.x, 5);
    EXPECT_EQ(TextCursor.y, 48);
    // One cell earlier there is still room for one more.
    TextCursor.x = W - 16;
    TAV_DrawChar('B');
    EXPECT_EQ(TextCursor.x, W - 8);
    EXPECT_EQ(TextCursor.y, 48);
}

TEST_F(BitmapText, DrawTextFormatsLikePrintf)
{
    const int W = 64, H = 20;
    uint32_t* px = Make32(0, W, H);
    tav_tc = 0xFFFFFF;
    TextCursor = TavTextCursor{2, 2, 16};
    TAV_DrawText("%d", 42);
    EXPECT_EQ(Cell(px, W, 2, 16, 0xFFFFFF), Glyph('4'));
    EXPECT_EQ(Cell(px, W, 10, 16, 0xFFFFFF), Glyph('2'));
    EXPECT_EQ(TextCursor.x, 18);

    // The same pixels as the plain string.
    const std::vector<uint8_t> formatted = Snapshot(0);
    Make32(1, W, H);
    TextCursor = TavTextCursor{2, 2, 16};
    TAV_DrawString("42");
    EXPECT_EQ(Snapshot(1), formatted);
}

TEST_F(BitmapText, DrawTextIsCutAt4095Characters)
{
    Make32(0, 8, 8);
    Free(0); // nothing is drawn and, without an edge, the cursor never wraps
    TextCursor = TavTextCursor{0, 0, 100};
    const std::string text(5000, 'x');
    TAV_DrawText("%s", text.c_str());
    EXPECT_EQ(TextCursor.x, 4095 * GlyphWidth);
    EXPECT_EQ(TextCursor.y, 100);
    TextCursor.x = 0;
    TAV_DrawText("%s\n%s", "ab", "c");
    EXPECT_EQ(TextCursor.x, 8);
    EXPECT_EQ(TextCursor.y, 116);
}

} // namespace
