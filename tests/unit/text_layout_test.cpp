// Layout of printed text: cells, drawn, wrap, line feeds, scrolling, the colour
// stack and the bounded format buffer.
#include <gtest/gtest.h>

#include <cstdarg>
#include <string>
#include <vector>

#include "console/text_layout.h"
#include "console/text_window_table.h"

namespace {

struct DrawnRun { std::u16string text; int x, y; };
struct Scroll { int fromY, copyHeight, clearFromY; };

// A slot of a given size in cells of 7 x 12 pixels, and a surface that records
// what the layout draws and scrolled.
struct LayoutFixture : testing::Test {
    TextWindowSlot slot = {};
    std::u16string text;
    std::vector<DrawnRun> drawn;
    std::vector<Scroll> scrolled;
    TextSurface surface = {this, DrawRun, ScrollUp};

    void SetUp() override { Size(10 * 7, 300); }
    void Size(int width, int height)
    {
        slot.width = width;
        slot.height = height;
        slot.cellWidth = 7;
        slot.lineHeight = 12;
    }
    static void DrawRun(void* c, int start, int count, int x, int y)
    {
        auto* f = static_cast<LayoutFixture*>(c);
        f->drawn.push_back({f->text.substr(start, count), x, y});
    }
    static void ScrollUp(void* c, int fromY, int copyHeight, int clearFromY)
    {
        static_cast<LayoutFixture*>(c)->scrolled.push_back({fromY, copyHeight, clearFromY});
    }
    void Print(const std::u16string& t)
    {
        text = t;
        LayOutText(slot, text.data(), (int)text.size(), surface);
    }
    void ExpectCursor(int cellsX, int linesY)
    {
        EXPECT_EQ(slot.cursorX, cellsX * 7);
        EXPECT_EQ(slot.cursorY, linesY * 12);
    }
};

TEST_F(LayoutFixture, TenCellsFillTheLineAndTheEleventhWraps)
{
    Print(u"0123456789");
    ExpectCursor(10, 0); // at the right edge, not yet on the next line
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, u"0123456789");

    Print(u"A");
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[1].text, u"A");
    EXPECT_EQ(drawn[1].x, 0);
    EXPECT_EQ(drawn[1].y, 12);
    ExpectCursor(1, 1);
}

TEST_F(LayoutFixture, OneRunPerLineOfALongText)
{
    Print(u"abcdefghijklmnopqrstuvwxy"); // 25 cells in a 10-cell window
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[0].text, u"abcdefghij");
    EXPECT_EQ(drawn[1].text, u"klmnopqrst");
    EXPECT_EQ(drawn[2].text, u"uvwxy");
    EXPECT_EQ(drawn[2].y, 24);
    ExpectCursor(5, 2);
}

TEST_F(LayoutFixture, DoubleWidthCharacterMovesWholeToTheNextLine)
{
    Print(u"012345678\u3042"); // 9 cells, then one that needs 2
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].text, u"012345678");
    EXPECT_EQ(drawn[1].text, u"\u3042");
    EXPECT_EQ(drawn[1].x, 0);
    EXPECT_EQ(drawn[1].y, 12);
    ExpectCursor(2, 1);

    // Every unit from 0x80 on takes two cells; 0x7F one.
    EXPECT_EQ(CellsOf(0x7F), 1);
    EXPECT_EQ(CellsOf(0x80), 2);
    EXPECT_EQ(CellsOf(0xFF61), 2);
}

TEST_F(LayoutFixture, WindowNarrowerThanOneCellStartsALinePerCharacter)
{
    Size(5, 300);
    Print(u"abc");
    ASSERT_EQ(drawn.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(drawn[i].text, std::u16string(1, u"abc"[i]));
        EXPECT_EQ(drawn[i].x, 0);
        EXPECT_EQ(drawn[i].y, 12 * (i + 1));
    }
    ExpectCursor(1, 3);
}

TEST_F(LayoutFixture, LineFeedsMoveTheCursor)
{
    Print(u"ab\ncd");
    ExpectCursor(2, 1);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[1].text, u"cd");

    slot.cursorX = slot.cursorY = 0;
    Print(u"ab\n");
    ExpectCursor(0, 1);

    // Carriage returns and tabs are ordinary one-cell characters.
    slot.cursorX = slot.cursorY = 0;
    Print(u"a\r\tb");
    ExpectCursor(4, 0);
}

TEST_F(LayoutFixture, EmptyTextDrawsNothing)
{
    slot.cursorX = 14;
    Print(u"");
    EXPECT_TRUE(drawn.empty());
    ExpectCursor(2, 0);
}

TEST_F(LayoutFixture, ScrollsWhenTheNextLineWouldReachTheBottom)
{
    // 300 high, 12-pixel lines: lines at 0..276 fit (276 + 12 < 300); 288 does not.
    slot.cursorY = 264;
    Print(u"x\n");
    EXPECT_TRUE(scrolled.empty());
    EXPECT_EQ(slot.cursorY, 276);
    // Now the cursor is at 276 and the next line feed brings it to 288.
    Print(u"y\nz");
    ASSERT_EQ(scrolled.size(), 1u);
    EXPECT_EQ(scrolled[0].fromY, 12);
    EXPECT_EQ(scrolled[0].copyHeight, 276);
    EXPECT_EQ(scrolled[0].clearFromY, 276);
    EXPECT_EQ(drawn.back().text, u"z");
    EXPECT_EQ(drawn.back().y, 276);
    ExpectCursor(1, 23);
}

TEST_F(LayoutFixture, ExactFitAtTheBottomCountsAsFull)
{
    Size(70, 24); // two lines would end exactly at the bottom edge
    Print(u"a\n");
    ASSERT_EQ(scrolled.size(), 1u);
    EXPECT_EQ(slot.cursorY, 0);
}

TEST_F(LayoutFixture, WindowLowerThanALineNeverMovesTheCursorAboveTheTop)
{
    Size(70, 5);
    Print(u"a\nb\nc");
    EXPECT_EQ(scrolled.size(), 2u);
    for (const Scroll& s : scrolled) {
        EXPECT_GE(s.copyHeight, 0);
        EXPECT_GE(s.clearFromY, 0);
    }
    EXPECT_EQ(slot.cursorY, 0);
}

TEST(TextColorStack, NinePushesThenNinePops)
{
    TextWindowSlot slot = {};
    ResetTextColors(slot);
    // Pair k is (k, 0x100 + k); pair 0 the white-on-black start.
    for (uint32_t k = 1; k <= 9; ++k) PushTextColors(slot, k, 0x100 + k);
    EXPECT_EQ(slot.textColor, 9u);
    for (uint32_t k = 8; k >= 2; --k) {
        PopTextColors(slot);
        EXPECT_EQ(slot.textColor, k);
        EXPECT_EQ(slot.backColor, 0x100 + k);
    }
    // The eighth and ninth pops both give pair 1, current before the second
    // push: the first saved pair (the start colours) was dropped.
    PopTextColors(slot);
    EXPECT_EQ(slot.textColor, 1u);
    PopTextColors(slot);
    EXPECT_EQ(slot.textColor, 1u);
    EXPECT_EQ(slot.backColor, 0x101u);
    // Pops beyond the pushes keep giving the oldest saved pair.
    PopTextColors(slot);
    EXPECT_EQ(slot.textColor, 1u);
}

TEST(TextColorStack, PopsBeyondPushesReturnToTheStartColours)
{
    TextWindowSlot slot = {};
    ResetTextColors(slot);
    PushTextColors(slot, 0x80FF80, 0x404040);
    PopTextColors(slot);
    PopTextColors(slot);
    EXPECT_EQ(slot.textColor, (uint32_t)WhiteColor);
    EXPECT_EQ(slot.backColor, (uint32_t)BlackColor);
    EXPECT_EQ(ColorWordToColorRef(0x123456), 0x563412u);
}

int Format(char* buffer, int size, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int n = FormatBounded(buffer, size, format, args);
    va_end(args);
    return n;
}

TEST(FormatBuffer, LongOutputIsCutAndTerminated)
{
    std::vector<char> guarded(FormatBufferBytes + 8, '#');
    char* buffer = guarded.data() + 4;
    std::string big(6000, 'q');
    int n = Format(buffer, FormatBufferBytes, "%s-%d", big.c_str(), 7);
    EXPECT_EQ(n, FormatBufferBytes - 1);
    EXPECT_EQ(std::string(buffer), std::string(FormatBufferBytes - 1, 'q'));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(guarded[i], '#');
        EXPECT_EQ(guarded[4 + FormatBufferBytes + i], '#');
    }
    EXPECT_EQ(Format(buffer, FormatBufferBytes, "[%d] Zoom(%%)=", 3), 12);
    EXPECT_STREQ(buffer, "[3] Zoom(%)=");
}

} // namespace
