// The area-averaging reduction of the half-tone display, against a direct
// computation of each display pixel's covered area.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "image/display_reduce.h"

namespace {

// Mean of channel `shift` over the image area display pixel (i, j) covers,
// each image pixel weighted by its overlap, in double precision.
double ReferenceChannel(const std::vector<uint32_t>& image, int w, int h, int dw, int dh, int i, int j,
                        int shift)
{
    const double x0 = (double)i * w / dw, x1 = (double)(i + 1) * w / dw;
    const double y0 = (double)j * h / dh, y1 = (double)(j + 1) * h / dh;
    double sum = 0, area = 0;
    for (int y = 0; y < h; ++y) {
        const double oy = std::min<double>(y + 1, y1) - std::max<double>(y, y0);
        if (oy <= 0) continue;
        for (int x = 0; x < w; ++x) {
            const double ox = std::min<double>(x + 1, x1) - std::max<double>(x, x0);
            if (ox <= 0) continue;
            sum += ((image[(size_t)y * w + x] >> shift) & 0xFF) * ox * oy;
            area += ox * oy;
        }
    }
    return sum / area;
}

void ExpectNearReference(const std::vector<uint32_t>& image, int w, int h, const std::vector<uint32_t>& out,
                         int dw, int dh)
{
    for (int j = 0; j < dh; ++j)
        for (int i = 0; i < dw; ++i)
            for (int shift : {0, 8, 16}) {
                const double expected = ReferenceChannel(image, w, h, dw, dh, i, j, shift);
                const int got = (int)((out[(size_t)j * dw + i] >> shift) & 0xFF);
                ASSERT_NEAR(got, expected, 0.51)
                    << w << "x" << h << " -> " << dw << "x" << dh << " at " << i << "," << j;
            }
}

std::vector<uint32_t> RandomImage(int w, int h, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<uint32_t> image((size_t)w * h);
    for (uint32_t& c : image) c = random() & 0xFFFFFF;
    return image;
}

TEST(ReduceImageArea, MatchesTheCoveredAreaMean)
{
    struct Case { int w, h, dw, dh; };
    const Case cases[] = {{8, 6, 4, 3}, {10, 7, 3, 2}, {37, 23, 14, 8}, {5, 5, 5, 5},
                          {9, 4, 1, 1}, {1, 13, 1, 5}, {16, 16, 15, 15}, {7, 3, 11, 5}};
    unsigned seed = 1;
    for (const Case& c : cases) {
        const std::vector<uint32_t> image = RandomImage(c.w, c.h, seed++);
        std::vector<uint32_t> out((size_t)c.dw * c.dh);
        ASSERT_TRUE(ReduceImageArea((const uint8_t*)image.data(), c.w, c.h, c.w * 4, 32, nullptr, out.data(),
                                    c.dw, c.dh));
        ExpectNearReference(image, c.w, c.h, out, c.dw, c.dh);
        for (uint32_t p : out) ASSERT_EQ(p >> 24, 0u);
    }
}

TEST(ReduceImageArea, EightBitImagesLookUpTheirColourTable)
{
    const int w = 13, h = 9, stride = 16, dw = 5, dh = 4;
    std::mt19937 random(7);
    std::vector<uint8_t> indexes((size_t)stride * h);
    for (uint8_t& v : indexes) v = (uint8_t)random();
    std::vector<uint32_t> palette(256);
    for (uint32_t& c : palette) c = random() & 0xFFFFFF;
    std::vector<uint32_t> image((size_t)w * h); // the same picture as ColorWords
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image[(size_t)y * w + x] = palette[indexes[(size_t)y * stride + x]];
    std::vector<uint32_t> out((size_t)dw * dh);
    ASSERT_TRUE(ReduceImageArea(indexes.data(), w, h, stride, 8, palette.data(), out.data(), dw, dh));
    ExpectNearReference(image, w, h, out, dw, dh);
}

TEST(ReduceImageArea, CheckerboardAtHalfSizeIsGrey)
{
    const int w = 64, h = 48;
    std::vector<uint32_t> image((size_t)w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image[(size_t)y * w + x] = (x + y) % 2 ? 0xFFFFFF : 0;
    std::vector<uint32_t> out((size_t)(w / 2) * (h / 2));
    ASSERT_TRUE(ReduceImageArea((const uint8_t*)image.data(), w, h, w * 4, 32, nullptr, out.data(), w / 2, h / 2));
    for (uint32_t p : out) {
        ASSERT_GE(p & 0xFF, 127u);
        ASSERT_LE(p & 0xFF, 128u);
        ASSERT_EQ(p, (p & 0xFF) * 0x010101u);
    }
}

} // namespace
