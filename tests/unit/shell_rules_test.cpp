// Window-free rules of the shell: status line, clock, animation, folders.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/shell_state.h"
#include "tavkit.h"

namespace {

TEST(StatusLine, CentresAroundColumn18)
{
    struct Case { int length; int start; };
    const Case cases[] = {{12, 12}, {1, 18}, {35, 1}, {36, 0}, {63, 0}, {0, 18}};
    for (const Case& c : cases) {
        std::string text(c.length, 'x');
        char line[StatusLineBytes];
        FormatStatusLine(text.c_str(), line);
        EXPECT_EQ(std::string(line), std::string(c.start, ' ') + text) << "length " << c.length;
    }
}

TEST(StatusLine, LongTextIsCutAtTheLineEnd)
{
    std::string text(300, 'y');
    char guard[4 + StatusLineBytes + 4];
    memset(guard, '#', sizeof guard);
    FormatStatusLine(text.c_str(), guard + 4);
    EXPECT_EQ(std::string(guard + 4), std::string(63, 'y'));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(guard[i], '#');
        EXPECT_EQ(guard[4 + StatusLineBytes + i], '#');
    }
}

TEST(Clock, DifferencesSurviveTheWrap)
{
    const double msPerTick = 0.001; // a 1 MHz counter
    const int64_t wrapTicks = (int64_t)1 << 32;   // ms count 2^32 at 2^32 * 1000 ticks
    int64_t before = wrapTicks * 1000 - 5000;     // 5 ms before the wrap
    int64_t after = before + 20000;               // 20 ms later
    uint32_t t0 = CounterToMs(before, msPerTick);
    uint32_t t1 = CounterToMs(after, msPerTick);
    EXPECT_GT(t0, t1);                 // the count wrapped
    EXPECT_EQ(t1 - t0, 20u);           // the difference did not
    EXPECT_EQ(CounterToMs(1999, 1.0 / 2000), 0u);  // floor, not rounding
    EXPECT_EQ(CounterToMs(2000, 1.0 / 2000), 1u);
}

TEST(DropIn, OffsetsBringTheWindowDown55Pixels)
{
    int sum = 0;
    for (int d : DropInOffsets) sum += d;
    EXPECT_EQ(sum, 55);
}

TEST(Folders, OneTrailingBackslash)
{
    struct Case { std::wstring in, out; };
    const Case cases[] = {{L"C:\\", L"C:\\"}, {L"C:\\work", L"C:\\work\\"}, {L"", L""}};
    for (const Case& c : cases) {
        wchar_t dir[16];
        wcscpy(dir, c.in.c_str());
        EnsureTrailingBackslash(dir, 16);
        EXPECT_EQ(std::wstring(dir), c.out);
    }
    wchar_t full[4] = L"abc"; // no room for the backslash: kept as it is
    EnsureTrailingBackslash(full, 4);
    EXPECT_EQ(std::wstring(full), L"abc");
}

TEST(SplitRGB, TakesTheThreeBytes)
{
    int r, g, b;
    TAV_SplitRGB(0xFF123456u, &r, &g, &b);
    EXPECT_EQ(r, 0x12);
    EXPECT_EQ(g, 0x34);
    EXPECT_EQ(b, 0x56);
}

} // namespace
