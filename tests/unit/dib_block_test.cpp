// Layout checks of clipboard bitmap blocks written by other programs.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <random>
#include <vector>

#include "image/dib_block.h"

namespace {

struct Header {
    uint32_t size = 40;
    int32_t width = 3, height = 2;
    uint16_t planes = 1, bits = 24;
    uint32_t compression = 0, colorsUsed = 0;
};

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + i] = (uint8_t)(v >> (8 * i));
}

// A block of the header, `extra` bytes of masks or colours, and `rowBytes` of rows.
std::vector<uint8_t> Block(const Header& h, size_t extra, size_t rowBytes)
{
    std::vector<uint8_t> b(h.size + extra + rowBytes, 0);
    Put32(b, 0, h.size);
    Put32(b, 4, (uint32_t)h.width);
    Put32(b, 8, (uint32_t)h.height);
    b[12] = (uint8_t)h.planes; b[13] = (uint8_t)(h.planes >> 8);
    b[14] = (uint8_t)h.bits; b[15] = (uint8_t)(h.bits >> 8);
    Put32(b, 16, h.compression);
    Put32(b, 32, h.colorsUsed);
    return b;
}

struct Valid {
    const char* what;
    Header h;
    size_t extra, rowBytes;
    int paletteColors;
    size_t tableOffset, bitsOffset;
};

const Valid ValidBlocks[] = {
    {"24-bit 3x2", {40, 3, 2, 1, 24, 0, 0}, 0, 24, 0, 40, 40},
    {"24-bit top-down", {40, 3, -2, 1, 24, 0, 0}, 0, 24, 0, 40, 40},
    {"8-bit 5 wide, full table", {40, 5, 3, 1, 8, 0, 0}, 1024, 24, 256, 40, 1064},
    {"8-bit, 16 colours used", {40, 5, 3, 1, 8, 0, 16}, 64, 24, 16, 40, 104},
    {"4-bit", {40, 9, 1, 1, 4, 0, 0}, 64, 8, 16, 40, 104},
    {"1-bit", {40, 33, 2, 1, 1, 0, 0}, 8, 16, 2, 40, 48},
    {"32-bit bit fields", {40, 2, 2, 1, 32, 3, 0}, 12, 16, 0, 52, 52},
    {"16-bit", {40, 3, 1, 1, 16, 0, 0}, 0, 8, 0, 40, 40},
    {"24-bit with an optional table", {40, 1, 1, 1, 24, 0, 2}, 8, 4, 0, 40, 48},
    {"version 5 header", {124, 3, 2, 1, 24, 0, 0}, 0, 24, 0, 124, 124},
    {"version 4 header, bit fields", {108, 1, 1, 1, 32, 3, 0}, 0, 4, 0, 108, 108},
};

TEST(DibLayout, AcceptsCompleteBlocksAndFindsTheirParts)
{
    for (const Valid& v : ValidBlocks) {
        std::vector<uint8_t> b = Block(v.h, v.extra, v.rowBytes);
        DibLayout l = {};
        ASSERT_TRUE(ReadDibLayout(b.data(), b.size(), &l)) << v.what;
        EXPECT_EQ(l.width, v.h.width) << v.what;
        EXPECT_EQ(l.height, v.h.height) << v.what;
        EXPECT_EQ(l.bitCount, v.h.bits) << v.what;
        EXPECT_EQ(l.paletteColors, v.paletteColors) << v.what;
        EXPECT_EQ(l.colorTableOffset, v.tableOffset) << v.what;
        EXPECT_EQ(l.bitsOffset, v.bitsOffset) << v.what;
        EXPECT_EQ(l.bitsBytes, v.rowBytes) << v.what;
        // A larger block (the allocator rounds up) is fine; one byte less is not.
        std::vector<uint8_t> roomy = b;
        roomy.resize(b.size() + 16);
        EXPECT_TRUE(ReadDibLayout(roomy.data(), roomy.size(), &l)) << v.what;
        EXPECT_FALSE(ReadDibLayout(b.data(), b.size() - 1, &l)) << v.what << " cut by one byte";
    }
}

TEST(DibLayout, RefusesInconsistentFields)
{
    struct Bad { const char* what; Header h; size_t extra, rowBytes; };
    const Bad cases[] = {
        {"core header", {12, 3, 2, 1, 24, 0, 0}, 28, 24},
        {"header size 0", {0, 3, 2, 1, 24, 0, 0}, 40, 24},
        {"header size 64", {64, 3, 2, 1, 24, 0, 0}, 0, 24},
        {"version 2 header", {52, 3, 2, 1, 24, 0, 0}, 0, 24},
        {"planes 0", {40, 3, 2, 0, 24, 0, 0}, 0, 24},
        {"planes 2", {40, 3, 2, 2, 24, 0, 0}, 0, 24},
        {"0 bits", {40, 3, 2, 1, 0, 0, 0}, 0, 24},
        {"2 bits", {40, 3, 2, 1, 2, 0, 0}, 16, 24},
        {"64 bits", {40, 3, 2, 1, 64, 0, 0}, 0, 96},
        {"width 0", {40, 0, 2, 1, 24, 0, 0}, 0, 24},
        {"negative width", {40, -3, 2, 1, 24, 0, 0}, 0, 24},
        {"height 0", {40, 3, 0, 1, 24, 0, 0}, 0, 24},
        {"height INT_MIN", {40, 1, INT_MIN, 1, 8, 0, 0}, 1024, 64},
        {"width beyond the limit", {40, MaxDibSide + 1, 1, 1, 1, 0, 0}, 8, 4100},
        {"height beyond the limit", {40, 1, -(MaxDibSide + 1), 1, 1, 0, 0}, 8, 4 * (MaxDibSide + 1)},
        {"too many pixels", {40, MaxDibSide, 4097, 1, 1, 0, 0}, 8, 4096 * 4097},
        {"run-length 8", {40, 3, 2, 1, 8, 1, 0}, 1024, 24},
        {"run-length 4", {40, 3, 2, 1, 4, 2, 0}, 64, 24},
        {"embedded JPEG", {40, 3, 2, 1, 0, 4, 0}, 0, 24},
        {"embedded PNG", {40, 3, 2, 1, 0, 5, 0}, 0, 24},
        {"bit fields on 24 bits", {40, 3, 2, 1, 24, 3, 0}, 12, 24},
        {"bit fields without masks", {40, 2, 2, 1, 32, 3, 0}, 0, 16},
        {"more colours than 8 bits hold", {40, 4, 1, 1, 8, 0, 257}, 1028, 4},
        {"more colours than 4 bits hold", {40, 4, 1, 1, 4, 0, 17}, 68, 4},
        {"huge optional table", {40, 1, 1, 1, 24, 0, 0x40000001}, 8, 4},
        {"table cut short", {40, 5, 3, 1, 8, 0, 0}, 1000, 0},
        {"rows cut short", {40, 3, 2, 1, 24, 0, 0}, 0, 23},
        {"tall picture in a small block", {40, 1, 30000, 1, 24, 0, 0}, 0, 60},
        {"header larger than the block", {124, 3, 2, 1, 24, 0, 0}, 0, 0},
    };
    for (const Bad& c : cases) {
        std::vector<uint8_t> b = Block(c.h, c.extra, c.rowBytes);
        if (c.h.size < 40) b.resize(40 + c.extra + c.rowBytes); // room for the fields read
        size_t size = b.size();
        if (std::strcmp(c.what, "header larger than the block") == 0) size = 100;
        DibLayout l = {};
        EXPECT_FALSE(ReadDibLayout(b.data(), size, &l)) << c.what;
    }
    DibLayout l = {};
    uint8_t tiny[39] = {40};
    EXPECT_FALSE(ReadDibLayout(tiny, sizeof tiny, &l));
    EXPECT_FALSE(ReadDibLayout(nullptr, 100, &l));
}

TEST(DibLayout, AcceptedLayoutsStayInsideRandomBlocks)
{
    std::mt19937 rng(12345);
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        const Valid& v = ValidBlocks[round % (sizeof ValidBlocks / sizeof ValidBlocks[0])];
        std::vector<uint8_t> b = Block(v.h, v.extra, v.rowBytes);
        for (int k = 0; k < 3; ++k) b[rng() % 40] = (uint8_t)rng(); // mutate header bytes
        size_t size = b.size() - rng() % 3;
        DibLayout l = {};
        if (!ReadDibLayout(b.data(), size, &l)) continue;
        ++accepted;
        ASSERT_LE(l.bitsOffset + l.bitsBytes, size);
        ASSERT_LE(l.colorTableOffset + 4u * (size_t)l.paletteColors, l.bitsOffset);
        ASSERT_LE(l.paletteColors, MaxDibColors);
    }
    EXPECT_GT(accepted, 0);
}

} // namespace
