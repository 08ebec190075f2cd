// Nearest colour-table entries for drawing into 8-bit images.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>

#include "image/color_match.h"

namespace {

void SetEntry(uint8_t* table, int i, uint32_t color)
{
    table[4 * i] = (uint8_t)color;
    table[4 * i + 1] = (uint8_t)(color >> 8);
    table[4 * i + 2] = (uint8_t)(color >> 16);
    table[4 * i + 3] = 0;
}

TEST(ColorMatch, ExactColoursFindTheirFirstEntryAndOthersTheNearest)
{
    // Entries close together (the neighbours differ by 1 in red): an
    // approximate lookup would confuse them.
    uint8_t table[1024];
    for (int i = 0; i < 256; ++i) SetEntry(table, i, (uint32_t)i << 16 | (uint32_t)(255 - i) << 8 | (uint32_t)((i * 7) & 255));
    SetEntry(table, 200, 0x00FF07); // a duplicate of entry 1's colour
    SetEntry(table, 1, 0x01FE07);
    static ColorMatcher m;
    InitColorMatcher(&m, table);
    for (int pass = 0; pass < 2; ++pass) { // the second pass answers from the cache
        for (int i = 0; i < 256; ++i) {
            if (i == 200) continue;
            uint32_t c = (uint32_t)table[4 * i + 2] << 16 | (uint32_t)table[4 * i + 1] << 8 | table[4 * i];
            ASSERT_EQ(MatchColor(&m, c | 0xFF000000u), i) << "entry " << i;
        }
        EXPECT_EQ(MatchColor(&m, 0x00FF07), 200);
    }

    std::mt19937 rng(3);
    for (int k = 0; k < 2000; ++k) {
        uint32_t c = rng() & 0xFFFFFF;
        int got = MatchColor(&m, c);
        auto dist = [&](int i) {
            int d = 0;
            for (int s = 0; s < 3; ++s) { int x = (int)table[4 * i + s] - (int)((c >> (8 * s)) & 255); d += x * x; }
            return d;
        };
        for (int i = 0; i < 256; ++i) {
            ASSERT_LE(dist(got), dist(i));
            if (dist(i) == dist(got)) { ASSERT_LE(got, i); break; }
        }
    }
}

} // namespace
