// Palette choice for GIF output of 32-bit pictures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>
#include <vector>

#include "image/palette_quantize.h"

namespace {

int ChannelError(uint32_t a, uint32_t b)
{
    int worst = 0;
    for (int s = 0; s < 24; s += 8) worst = std::max(worst, std::abs((int)((a >> s) & 255) - (int)((b >> s) & 255)));
    return worst;
}

TEST(Palette, ExactForAtMost256Colours)
{
    std::mt19937 rng(7);
    for (int colours : {1, 2, 17, 256}) {
        std::vector<uint32_t> distinct;
        std::set<uint32_t> seen;
        while ((int)distinct.size() < colours) {
            uint32_t c = rng() & 0xFFFFFF;
            if (seen.insert(c).second) distinct.push_back(c);
        }
        std::vector<uint32_t> pixels(5 * 7 * 11);
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = distinct[i < distinct.size() ? i : rng() % distinct.size()] | 0xAB000000u; // top byte ignored
        uint32_t palette[PaletteEntries];
        std::vector<uint8_t> indexes(pixels.size());
        int used = QuantizeToPalette(pixels.data(), (int64_t)pixels.size(), palette, indexes.data());
        EXPECT_EQ(used, std::min(colours, (int)pixels.size()));
        for (size_t i = 0; i < pixels.size(); ++i) {
            ASSERT_LT(indexes[i], used);
            ASSERT_EQ(palette[indexes[i]], pixels[i] & 0xFFFFFF) << "pixel " << i;
        }
    }
}

TEST(Palette, RichPicturesStayCloseToTheirColours)
{
    // A smooth 2-D gradient of 64 x 64 = 4096 colours plus random noise colours.
    std::mt19937 rng(11);
    const int w = 64, h = 64;
    std::vector<uint32_t> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels.push_back((uint32_t)(x * 4) << 16 | (uint32_t)(y * 4) << 8 | (uint32_t)((x + y) * 2));
    uint32_t palette[PaletteEntries];
    std::vector<uint8_t> indexes(pixels.size());
    int used = QuantizeToPalette(pixels.data(), (int64_t)pixels.size(), palette, indexes.data());
    EXPECT_EQ(used, PaletteEntries);
    int worst = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        ASSERT_LT(indexes[i], used);
        worst = std::max(worst, ChannelError(palette[indexes[i]], pixels[i]));
    }
    EXPECT_LE(worst, 24) << "a 4096-colour gradient reduced to 256 entries";

    // Two dominant colours among noise keep their exact values.
    std::vector<uint32_t> mixed(10000, 0x102030);
    for (size_t i = 0; i < mixed.size(); i += 2) mixed[i] = 0xF0E0D0;
    for (size_t i = 1; i < mixed.size(); i += 10) mixed[i] = rng() & 0xFFFFFF;
    indexes.resize(mixed.size());
    used = QuantizeToPalette(mixed.data(), (int64_t)mixed.size(), palette, indexes.data());
    EXPECT_LE(used, PaletteEntries);
    EXPECT_EQ(ChannelError(palette[indexes[0]], 0xF0E0D0), 0);
    EXPECT_LE(ChannelError(palette[indexes[3]], 0x102030), 4);
}

TEST(Palette, EmptyPictureUsesNothing)
{
    uint32_t palette[PaletteEntries];
    EXPECT_EQ(QuantizeToPalette(nullptr, 0, palette, nullptr), 0);
}

} // namespace
