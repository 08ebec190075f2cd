// Test images without windows: image table slots filled with heap buffers of
// exactly the pixel layout the library addresses (so ASan sees any stray
// access), the drawing state at its start values, and everything put back
// afterwards.
#ifndef TAV_PIXEL_FIXTURE_H
#define TAV_PIXEL_FIXTURE_H

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "image/image_table.h"
#include "imageops/drawing_state.h"

class PixelImages : public ::testing::Test {
protected:
    void SetUp() override
    {
        DrawingColor = 0xFFFFFF;
        tav_tc = 0x000000;
        TextCursor = TavTextCursor{0, 0, 0};
        PenPosition = TavPoint{0, 0};
        CurrentImage = 0;
    }

    void TearDown() override
    {
        for (int n = 0; n < ImageCount; ++n) {
            if (buffers_[n]) {
                ImageTable[n] = ImageSlot{};
                Pixels32[n] = nullptr;
                Pixels8[n] = nullptr;
            }
        }
        CurrentImage = 0;
    }

    // A black 32-bit image in slot n, made current.
    uint32_t* Make32(int n, int width, int height)
    {
        Fill(n, 32, width, height, (size_t)width * height * 4);
        return Pixels32[n];
    }

    // A black 8-bit image in slot n (rows padded to a multiple of 4), made current.
    uint8_t* Make8(int n, int width, int height)
    {
        Fill(n, 8, width, height, (size_t)Stride8(width) * height);
        return Pixels8[n];
    }

    // Bytes of image n's buffer, for before/after comparisons.
    std::vector<uint8_t> Snapshot(int n) const
    {
        return std::vector<uint8_t>(Pixels8[n], Pixels8[n] + sizes_[n]);
    }

    // Frees image n's slot as destruction does: the pointers stay stale.
    void Free(int n) { ImageTable[n].inUse = 0; }

private:
    void Fill(int n, int bits, int width, int height, size_t bytes)
    {
        // uint32_t storage keeps 32-bit pixels aligned; every layout is a whole
        // number of words, so the allocation ends exactly at the last pixel.
        buffers_[n].reset(reinterpret_cast<uint8_t*>(new uint32_t[(bytes + 3) / 4]));
        sizes_[n] = bytes;
        std::memset(buffers_[n].get(), 0, bytes);
        ImageSlot slot{};
        slot.inUse = 1;
        slot.bits = bits;
        slot.width = width;
        slot.height = height;
        ImageTable[n] = slot;
        Pixels8[n] = buffers_[n].get();
        Pixels32[n] = reinterpret_cast<uint32_t*>(buffers_[n].get());
        CurrentImage = n;
    }

    struct Release { void operator()(uint8_t* p) const { delete[] reinterpret_cast<uint32_t*>(p); } };
    std::unique_ptr<uint8_t, Release> buffers_[ImageCount];
    size_t sizes_[ImageCount] = {};
};

#endif
