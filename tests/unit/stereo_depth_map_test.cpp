// The four depth maps.
#include <gtest/gtest.h>

#include "stereo/depth_map.h"
#include "stereo_literal.h"

namespace {

class StereoDepthMapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        reset_stereo_parameters();
        update_gamma_table();
        update_s_correct_table();
    }
    // Depth level that map `kind` gives one colour, with the current parameters.
    int level_of(int kind, uint32_t colour, int bits = 32)
    {
        ModelLibrary lib;
        lib.create(0, 1, 1, bits);
        lib.create(1, 1, 1);
        if (bits == 8) lib.image[0].bytes[0] = (uint8_t)colour;
        else lib.image[0].words[0] = colour;
        StereoImages images = lib.buffers();
        run_depth_map(kind, &images, nullptr);
        uint32_t grey = lib.image[1].words[0];
        EXPECT_EQ(grey, (grey & 255) * 0x010101u);
        return (int)(grey & 255);
    }
};

TEST_F(StereoDepthMapTest, SModExamplesAtTheStartValues)
{
    EXPECT_EQ(level_of(SModMap, 0xFF0000), 155); // ms 255
    EXPECT_EQ(level_of(SModMap, 0x000000), 108); // ms 229: 178 * 155 / 255
    EXPECT_EQ(level_of(SModMap, 0x808080), 10);  // ms 114
    EXPECT_EQ(level_of(SModMap, 0xFFFFFF), 0);   // ms 0
    EXPECT_EQ(level_of(SModVMap, 0xFFFFFF), 155); // max(0, 255)
}

TEST_F(StereoDepthMapTest, SAndVMapsGiveTheMeasureAtGammaOne)
{
    const uint32_t colours[] = {0x123456, 0xFF0000, 0x808080, 0x00FF7F, 0x0A0B0C, 0xFF123456};
    for (uint32_t c : colours) {
        int r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
        int hi = std::max({r, g, b}), lo = std::min({r, g, b});
        EXPECT_EQ(level_of(SMap, c), hi - lo) << std::hex << c;
        EXPECT_EQ(level_of(VMap, c), hi) << std::hex << c;
    }
}

TEST_F(StereoDepthMapTest, EightBitPictureIsReadAsBlue)
{
    // The byte is the blue channel alone: S = V = byte, min 0.
    EXPECT_EQ(level_of(SMap, 200, 8), 200);
    EXPECT_EQ(level_of(VMap, 200, 8), 200);
    EXPECT_EQ(level_of(SModMap, 200, 8), level_of(SModMap, 0x0000C8));
}

// Every pair of largest and smallest channel, for every S_mod, through all
// four maps with identity tables: the level is the colour measure itself.
TEST_F(StereoDepthMapTest, EveryChannelPairAndSMod)
{
    for (int i = 0; i < 256; ++i) GammaTable[i] = SCorrectTable[i] = i;
    ModelLibrary lib;
    lib.create(0, 256, 256);
    lib.create(1, 256, 256);
    for (int hi = 0; hi < 256; ++hi)
        for (int lo = 0; lo < 256; ++lo) {
            int mid = (hi + lo) / 2;
            int a = std::max(hi, lo), b = std::min(hi, lo);
            lib.image[0].words[(size_t)hi * 256 + lo] = (uint32_t)(lo & 1 ? a : mid) << 16 | (uint32_t)b << 8 |
                                                         (uint32_t)(lo & 1 ? mid : a);
        }
    StereoImages images = lib.buffers();
    for (int sMod = 0; sMod <= 10; ++sMod) {
        Stereo.S_mod = sMod;
        for (int kind = 0; kind < DepthMapKindCount; ++kind) {
            run_depth_map(kind, &images, nullptr);
            int wrong = 0;
            for (int hi = 0; hi < 256; ++hi)
                for (int lo = 0; lo < 256; ++lo) {
                    int M = std::max(hi, lo), m = std::min(hi, lo);
                    int ms = ((255 - M) * sMod) / 10 + (M - m);
                    int level = kind == SMap ? M - m : kind == VMap ? M : kind == SModMap ? ms : std::max(ms, M);
                    wrong += lib.image[1].words[(size_t)hi * 256 + lo] != (uint32_t)level * 0x010101u;
                }
            EXPECT_EQ(wrong, 0) << "S_mod " << sMod << " kind " << kind;
        }
    }
}

TEST_F(StereoDepthMapTest, FullAttenuationMakesTheSModMapsFlat)
{
    Stereo.S_correct = 255;
    update_s_correct_table();
    for (uint32_t c : {0x000000u, 0xFF0000u, 0x808080u, 0xFFFFFFu, 0x123456u}) {
        EXPECT_EQ(level_of(SModMap, c), 0) << std::hex << c;
        EXPECT_EQ(level_of(SModVMap, c), 0) << std::hex << c;
    }
}

TEST_F(StereoDepthMapTest, DarkerGreysComeOutDeeperAsSModGrows)
{
    Stereo.S_mod = 10;
    EXPECT_GT(level_of(SModMap, 0x202020), level_of(SModMap, 0x606060));
    Stereo.S_mod = 0;
    EXPECT_EQ(level_of(SModMap, 0x202020), 0);
}

TEST_F(StereoDepthMapTest, ReversedDirectionWritesTheComplement)
{
    Stereo.reverse_depth = 1;
    EXPECT_EQ(level_of(SModMap, 0xFF0000), 255 - 155);
    EXPECT_EQ(level_of(SModMap, 0xFFFFFF), 255);
}

TEST_F(StereoDepthMapTest, ShiftFromThePictureWidth)
{
    struct Case { int width; int kind; int shift; };
    const Case cases[] = {{100, SMap, 3}, {100, VMap, 1}, {100, SModMap, 1}, {100, SModVMap, 1},
                          {63, SMap, 1},  {63, SModVMap, 0}};
    for (const Case& c : cases) {
        ModelLibrary lib;
        lib.create(0, c.width, 2);
        StereoImages images = lib.buffers(); // no image 1: shift is set all the same
        Stereo.shift = -7;
        run_depth_map(c.kind, &images, nullptr);
        EXPECT_EQ(Stereo.shift, c.shift) << c.width << " " << c.kind;
    }
    ModelLibrary none;
    StereoImages images = none.buffers();
    run_depth_map(SMap, &images, nullptr);
    EXPECT_EQ(Stereo.shift, 0); // no picture: unchanged
}

TEST_F(StereoDepthMapTest, ButtonsAndConsoleLines)
{
    EXPECT_EQ(DepthMapSteps[SMap].button, 3);
    EXPECT_STREQ(DepthMapSteps[SMap].consoleLine, "S_map\n");
    EXPECT_EQ(DepthMapSteps[VMap].button, 2);
    EXPECT_STREQ(DepthMapSteps[VMap].consoleLine, "V_map\n");
    EXPECT_EQ(DepthMapSteps[SModMap].button, 8);
    EXPECT_STREQ(DepthMapSteps[SModMap].consoleLine, "S_map_mod\n");
    EXPECT_EQ(DepthMapSteps[SModVMap].button, 9);
    EXPECT_STREQ(DepthMapSteps[SModVMap].consoleLine, "S_map_modV\n");
}

// Every map, against the pixel-by-pixel model, on pictures of odd sizes,
// depth images of other sizes and depths, and several parameter sets; the
// replayed end state included.
TEST_F(StereoDepthMapTest, MatchesThePixelByPixelStep)
{
    struct Size { int w, h, dw, dh, pictureBits, depthBits; };
    const Size sizes[] = {{7, 5, 7, 5, 32, 32},  {1, 1, 1, 1, 32, 32},  {13, 3, 13, 3, 8, 32},
                          {2, 9, 2, 9, 32, 8},   {31, 17, 20, 9, 32, 32}, {9, 4, 15, 6, 32, 32}};
    struct Params { int sMod; double gamma, sub; int sCorrect; bool reverse; };
    const Params params[] = {{9, 1.0, 0.3, 100, false}, {10, 0.7, 1.4, 0, true}, {0, 2.3, 0.3, 255, false},
                             {4, 0.0, 0.0, 30, true}};
    unsigned seed = 1;
    for (const Size& s : sizes) {
        for (const Params& p : params) {
            for (int kind = 0; kind < DepthMapKindCount; ++kind) {
                ModelLibrary expected;
                expected.create(0, s.w, s.h, s.pictureBits);
                expected.create(1, s.dw, s.dh, s.depthBits);
                fill_picture(expected.image[0], seed++);
                fill_depth(expected.image[1], seed++);
                scramble_state(expected, seed++);
                ModelLibrary actual = expected;

                ModelParameters model;
                model.S_mod = p.sMod;
                model.reverseDepth = p.reverse;
                model_tables(p.gamma, p.sub, p.sCorrect, model.gamma, model.scorr);
                model_depth_map(expected, model, kind);

                Stereo.S_mod = p.sMod;
                Stereo.gamma = p.gamma;
                Stereo.S_correct_sub = p.sub;
                Stereo.S_correct = p.sCorrect;
                Stereo.reverse_depth = p.reverse;
                Stereo.depth_loaded = 1;
                update_gamma_table();
                update_s_correct_table();
                StereoImages images = actual.buffers();
                StereoTrace trace;
                trace_clear(&trace);
                run_depth_map(kind, &images, &trace);
                replay_into(actual, trace);

                EXPECT_TRUE(same_state(expected, actual))
                    << "size " << s.w << "x" << s.h << " depth " << s.dw << "x" << s.dh << " bits "
                    << s.pictureBits << "/" << s.depthBits << " kind " << kind << " S_mod " << p.sMod;
                EXPECT_EQ(Stereo.shift, model.shift);
                EXPECT_EQ(Stereo.depth_loaded, 0);
                EXPECT_EQ(actual.current, DepthImage);
            }
        }
    }
}

TEST_F(StereoDepthMapTest, WithoutTheDepthImageNothingIsWritten)
{
    ModelLibrary lib;
    lib.create(0, 5, 5);
    fill_picture(lib.image[0], 3);
    ModelLibrary before = lib;
    StereoImages images = lib.buffers();
    StereoTrace trace;
    trace_clear(&trace);
    run_depth_map(SModVMap, &images, &trace);
    EXPECT_TRUE(same_state(before, lib));
    EXPECT_EQ(trace.selections, 0);
    EXPECT_EQ(trace.penMoved, 0);
}

} // namespace
