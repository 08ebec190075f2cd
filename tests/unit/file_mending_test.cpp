// Mending the colour tables of indexed BMP and TIFF files an encoder wrote.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "image/file_mending.h"

namespace {

TEST(BmpSizeField, CorrectedOnlyWhenItDisagrees)
{
    uint8_t header[6] = {'B', 'M', 0x4E, 0, 0, 0};
    EXPECT_TRUE(FixBmpSizeField(header, 1102));
    EXPECT_EQ(header[2] | header[3] << 8 | header[4] << 16 | header[5] << 24, 1102);
    EXPECT_FALSE(FixBmpSizeField(header, 1102));
    uint8_t png[6] = {0x89, 'P', 'N', 'G', 0, 0};
    EXPECT_FALSE(FixBmpSizeField(png, 1102));
    EXPECT_EQ(png[4], 0);
    uint8_t big[6] = {'B', 'M', 0, 0, 0, 0};
    EXPECT_FALSE(FixBmpSizeField(big, (uint64_t)1 << 32)); // beyond what the field holds
}


// A little- or big-endian TIFF holding one IFD entry: a colour map of 2 x 3
// entries at offset 26, written as v << 8 unless `full`.
std::vector<uint8_t> TiffWithColorMap(bool bigEndian, bool full, const uint16_t values[6])
{
    std::vector<uint8_t> f(26 + 12, 0);
    auto put = [&](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) f[at + (bigEndian ? bytes - 1 - i : i)] = (uint8_t)(v >> (8 * i));
    };
    f[0] = f[1] = bigEndian ? 'M' : 'I';
    put(2, 42, 2);
    put(4, 8, 4);            // the IFD
    put(8, 1, 2);            // one entry
    put(10, 320, 2);         // ColorMap
    put(12, 3, 2);           // SHORT
    put(14, 6, 4);           // 6 values
    put(18, 26, 4);          // at 26
    for (int i = 0; i < 6; ++i) put(26 + 2 * i, full ? values[i] * 257u : values[i] << 8, 2);
    return f;
}

TEST(TiffColorMap, ShiftedMapsBecomeFullRange)
{
    const uint16_t values[6] = {0, 255, 7, 128, 1, 200};
    for (bool bigEndian : {false, true}) {
        std::vector<uint8_t> f = TiffWithColorMap(bigEndian, false, values);
        ASSERT_TRUE(FixTiffColorMap(f.data(), f.size()));
        EXPECT_EQ(f, TiffWithColorMap(bigEndian, true, values));
        EXPECT_FALSE(FixTiffColorMap(f.data(), f.size())) << "already full range";
    }
    // Cut files and files of other kinds are left alone.
    std::vector<uint8_t> f = TiffWithColorMap(false, false, values);
    std::vector<uint8_t> cut(f.begin(), f.end() - 1);
    EXPECT_FALSE(FixTiffColorMap(cut.data(), cut.size()));
    f[2] = 43;
    EXPECT_FALSE(FixTiffColorMap(f.data(), f.size()));
    uint8_t bmp[8] = {'B', 'M'};
    EXPECT_FALSE(FixTiffColorMap(bmp, sizeof bmp));
    const uint16_t black[6] = {};
    std::vector<uint8_t> dark = TiffWithColorMap(false, false, black);
    EXPECT_FALSE(FixTiffColorMap(dark.data(), dark.size()));
}

} // namespace
