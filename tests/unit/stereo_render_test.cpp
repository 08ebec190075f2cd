// Stereo rendering: the worked cases, and every output against the
// pixel-by-pixel model.
#include <gtest/gtest.h>

#include "stereo/render.h"
#include "stereo/start_conversion.h"
#include "stereo_literal.h"

namespace {

class StereoRenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        reset_stereo_parameters();
        update_gamma_table();
        update_s_correct_table();
    }
    // Picture 0 with distinct colours 0x10000 * (x + 1) + y, depth image 1 at
    // `level` everywhere, result 2W x H and display W x H, all 32-bit.
    void make_images(ModelLibrary& lib, int w, int h, int level)
    {
        lib.create(0, w, h);
        lib.create(1, w, h);
        lib.create(2, 2 * w, h);
        lib.create(3, w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                lib.image[0].words[(size_t)y * w + x] = picture_colour(x, y);
                lib.image[1].words[(size_t)y * w + x] = (uint32_t)level * 0x010101u;
            }
    }
    static uint32_t picture_colour(int x, int y) { return 0x10000u * (uint32_t)(x + 1) + (uint32_t)y; }
    static uint32_t at(const ModelLibrary& lib, int n, int x, int y)
    {
        return lib.image[n].words[(size_t)y * lib.image[n].width + x];
    }
};

TEST_F(StereoRenderTest, ShiftZeroShowsThePictureTwice)
{
    ModelLibrary lib;
    make_images(lib, 9, 4, 200);
    Stereo.shift = 0;
    StereoImages images = lib.buffers();
    render_result(&images, nullptr);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x) {
            EXPECT_EQ(at(lib, 2, x, y), picture_colour(x, y));
            EXPECT_EQ(at(lib, 2, 9 + x, y), picture_colour(x, y));
        }
}

TEST_F(StereoRenderTest, FullDepthAtShiftTenMovesNineColumns)
{
    const int w = 20;
    ModelLibrary lib;
    make_images(lib, w, 2, 255);
    Stereo.shift = 10; // 255 * 10 / 256 = 9.96: 9 columns
    StereoImages images = lib.buffers();
    render_result(&images, nullptr);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < w - 9; ++x) EXPECT_EQ(at(lib, 2, x, y), picture_colour(x + 9, y)) << x;
        for (int x = w - 9; x < w; ++x) EXPECT_EQ(at(lib, 2, x, y), 0u) << x;
    }
}

TEST_F(StereoRenderTest, NearPixelInAFarBackground)
{
    const int w = 30, near = 20;
    ModelLibrary lib;
    make_images(lib, w, 1, 0);
    lib.image[1].words[near] = 0xFFFFFF;
    Stereo.shift = 10;
    StereoImages images = lib.buffers();
    render_result(&images, nullptr);
    EXPECT_EQ(at(lib, 2, near - 9, 0), picture_colour(near, 0));
    for (int x = near - 8; x <= near; ++x) EXPECT_EQ(at(lib, 2, x, 0), picture_colour(near + 1, 0)) << x;
    for (int x = 0; x < near - 9; ++x) EXPECT_EQ(at(lib, 2, x, 0), picture_colour(x, 0)) << x;
    for (int x = near + 1; x < w; ++x) EXPECT_EQ(at(lib, 2, x, 0), picture_colour(x, 0)) << x;
}

TEST_F(StereoRenderTest, WhiteAnaglypIsWhite)
{
    ModelLibrary lib;
    lib.create(0, 3, 2);
    lib.create(2, 6, 2);
    lib.create(3, 3, 2);
    for (uint32_t& c : lib.image[2].words) c = 0xFFFFFF;
    StereoImages images = lib.buffers();
    render_anaglyph(&images, nullptr);
    for (uint32_t c : lib.image[3].words) EXPECT_EQ(c, 0xFFFFFFu);
    // Red is the picture half's luma, green and blue the view half's.
    lib.image[2].words[3] = 0x0000FF;  // picture half, (0, 0): luma 114 * 255 / 1000 = 29
    lib.image[2].words[0] = 0x123456;
    render_anaglyph(&images, nullptr);
    EXPECT_EQ(lib.image[3].words[0], 0x1D3456u);
}

TEST_F(StereoRenderTest, AnaglyphLumaOfEveryRedAndGreen)
{
    ModelLibrary lib;
    lib.create(0, 256, 256);
    lib.create(2, 512, 256);
    lib.create(3, 256, 256);
    StereoImages images = lib.buffers();
    for (uint32_t blue : {0u, 1u, 127u, 254u, 255u}) {
        for (uint32_t y = 0; y < 256; ++y)
            for (uint32_t x = 0; x < 256; ++x) {
                lib.image[2].words[y * 512 + 256 + x] = y << 16 | x << 8 | blue | 0x5A000000u;
                lib.image[2].words[y * 512 + x] = 0x77000000u | (x * 7 + y) % 256 << 16 | (y * 3) % 256 << 8 | blue;
            }
        render_anaglyph(&images, nullptr);
        int wrong = 0;
        for (uint32_t y = 0; y < 256; ++y)
            for (uint32_t x = 0; x < 256; ++x) {
                uint32_t luma = (299 * y + 587 * x + 114 * blue) / 1000;
                wrong += at(lib, 3, (int)x, (int)y) != (luma << 16 | ((y * 3) % 256) << 8 | blue);
            }
        EXPECT_EQ(wrong, 0) << "blue " << blue;
    }
}

TEST_F(StereoRenderTest, InterlaceParityFollowsTheWindowTop)
{
    ModelLibrary lib;
    lib.create(0, 2, 4);
    lib.create(2, 4, 4);
    lib.create(3, 2, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 2; ++x) {
            lib.image[2].words[(size_t)y * 4 + x] = 0x0000AA;     // derived view
            lib.image[2].words[(size_t)y * 4 + 2 + x] = 0xBB0000; // picture
        }
    }
    StereoImages images = lib.buffers();
    struct Case { int mode, top; uint32_t row0, row1; };
    const Case cases[] = {
        {1, 0, 0xBB0000, 0x0000AA},  {2, 0, 0x0000AA, 0xBB0000},  {1, 1, 0x0000AA, 0xBB0000},
        {1, -3, 0x0000AA, 0xBB0000}, {2, -3, 0xBB0000, 0x0000AA}, {1, -4, 0xBB0000, 0x0000AA},
    };
    for (const Case& c : cases) {
        render_interlace(&images, c.mode, c.top, nullptr);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 2; ++x)
                EXPECT_EQ(at(lib, 3, x, y), y % 2 == 0 ? c.row0 : c.row1) << c.mode << " " << c.top << " " << y;
    }
    ModelLibrary before = lib;
    render_interlace(&images, 3, 0, nullptr);
    EXPECT_TRUE(same_state(before, lib));
}

TEST_F(StereoRenderTest, ThreeViewsLayout)
{
    const int w = 12;
    ModelLibrary lib;
    make_images(lib, w, 1, 0);
    lib.create(3, 3 * w, 1);
    for (int x = 0; x < w; ++x) lib.image[1].words[x] = x >= 6 ? 0xFFFFFF : 0; // right half near
    Stereo.view_num = 3;
    Stereo.M_shift = 4; // 255 * 4 / 256: 3 columns
    StereoImages images = lib.buffers();
    render_multi_view(&images, nullptr);
    // Block 0: moved left by 3 behind x = 6.
    EXPECT_EQ(at(lib, 3, 2, 0), picture_colour(2, 0));
    EXPECT_EQ(at(lib, 3, 3, 0), picture_colour(6, 0));
    EXPECT_EQ(at(lib, 3, w - 4, 0), picture_colour(w - 1, 0));
    for (int x = w - 3; x < w; ++x) EXPECT_EQ(at(lib, 3, x, 0), 0u) << x;
    // Block 1: the picture.
    for (int x = 0; x < w; ++x) EXPECT_EQ(at(lib, 3, w + x, 0), picture_colour(x, 0)) << x;
    // Block 2: moved right by 3, the hole behind the step filled with the far pixel.
    for (int x = 0; x < 6; ++x) EXPECT_EQ(at(lib, 3, 2 * w + x, 0), picture_colour(x, 0)) << x;
    for (int x = 6; x < 9; ++x) EXPECT_EQ(at(lib, 3, 2 * w + x, 0), picture_colour(5, 0)) << x;
    EXPECT_EQ(at(lib, 3, 2 * w + 9, 0), picture_colour(6, 0));
    EXPECT_EQ(at(lib, 3, 3 * w - 1, 0), picture_colour(8, 0));
}

TEST_F(StereoRenderTest, NegativeBlockPositionsStayOutOfTheLeftBlock)
{
    const int w = 10;
    ModelLibrary lib;
    make_images(lib, w, 1, 255);
    lib.create(3, 2 * w, 1);
    for (uint32_t& c : lib.image[3].words) c = 0x777777;
    StereoImages images = lib.buffers();
    render_left_view(&images, DisplayImage, 1, 10, nullptr); // every pixel 9 to the left
    for (int x = 0; x < w; ++x) EXPECT_EQ(at(lib, 3, x, 0), 0x777777u) << x;
    EXPECT_EQ(at(lib, 3, w, 0), picture_colour(9, 0));
    for (int x = w + 1; x < 2 * w; ++x) EXPECT_EQ(at(lib, 3, x, 0), 0u) << x;
}

TEST_F(StereoRenderTest, LoadedMapIsReadReversedWhileReversed)
{
    ModelLibrary lib;
    make_images(lib, 20, 1, 0); // a loaded map of level 0: reversed, 255
    Stereo.shift = 10;
    Stereo.depth_loaded = 1;
    Stereo.reverse_depth = 1;
    StereoImages images = lib.buffers();
    render_result(&images, nullptr);
    EXPECT_EQ(at(lib, 2, 0, 0), picture_colour(9, 0));
    Stereo.depth_loaded = 0; // a computed map was written reversed already
    render_result(&images, nullptr);
    EXPECT_EQ(at(lib, 2, 0, 0), picture_colour(0, 0));
}

TEST_F(StereoRenderTest, CurvePlot)
{
    ModelLibrary lib;
    lib.create(4, 256, 256);
    for (uint32_t& c : lib.image[4].words) c = 0x123456;
    StereoImages images = lib.buffers();
    plot_s_correct(&images, nullptr);
    EXPECT_EQ(at(lib, 4, 0, 255), 0u);              // entry 0 falls on row 256: nothing drawn
    EXPECT_EQ(at(lib, 4, 64, 255), 0xFFFFFFu);      // entry 64 is 1
    EXPECT_EQ(at(lib, 4, 255, 256 - 155), 0xFFFFFFu);
    int white = 0;
    for (uint32_t c : lib.image[4].words) white += c == 0xFFFFFF;
    EXPECT_EQ(white, 256 - 60); // inputs 0..59 give 0
}

// ---- Against the pixel-by-pixel model ------------------------------------------

struct Layout {
    int w, h;              // picture
    int dw, dh;            // depth map
    int rw, rh;            // result
    int pictureBits, depthBits, resultBits, displayBits;
};

const Layout Layouts[] = {
    {7, 5, 7, 5, 14, 5, 32, 32, 32, 32},   {1, 1, 1, 1, 2, 1, 32, 32, 32, 32},
    {13, 3, 13, 3, 26, 3, 32, 32, 32, 32}, {2, 9, 2, 9, 4, 9, 32, 32, 32, 32},
    {31, 17, 31, 17, 62, 17, 32, 32, 32, 32},
    {11, 6, 11, 6, 22, 6, 8, 32, 32, 32},  // 8-bit picture
    {11, 6, 11, 6, 22, 6, 32, 8, 8, 8},    // 8-bit depth, result and display
    {9, 7, 13, 4, 15, 9, 32, 32, 32, 32},  // a larger, lower depth map; result of another size
    {9, 7, 5, 10, 30, 5, 32, 32, 32, 32},  // a smaller, higher depth map; a wide, low result
    {97, 4, 97, 4, 194, 4, 32, 32, 32, 32}, // wide enough for the middle of a row to run unrolled
    {160, 3, 150, 3, 300, 3, 32, 32, 8, 32},
    {120, 3, 120, 3, 240, 3, 8, 32, 32, 8},
    {400, 2, 400, 2, 800, 2, 32, 32, 32, 32}, // wide enough for views to run together
};

class StereoRenderModelTest : public StereoRenderTest {
protected:
    // Both libraries with the same images and state; image 3 of `displayWidth`.
    void prepare(const Layout& l, int displayWidth, unsigned seed)
    {
        expected = ModelLibrary();
        expected.create(0, l.w, l.h, l.pictureBits);
        expected.create(1, l.dw, l.dh, l.depthBits);
        expected.create(2, l.rw, l.rh, l.resultBits);
        expected.create(3, displayWidth, l.h, l.displayBits);
        fill_picture(expected.image[0], seed);
        fill_depth(expected.image[1], seed + 1);
        fill_picture(expected.image[2], seed + 2);
        fill_picture(expected.image[3], seed + 3);
        scramble_state(expected, seed + 5);
        actual = expected;
        trace_clear(&trace);
        images = actual.buffers();
    }
    void check(const char* what, const Layout& l, int c)
    {
        replay_into(actual, trace);
        EXPECT_TRUE(same_state(expected, actual))
            << what << ": picture " << l.w << "x" << l.h << " depth " << l.dw << "x" << l.dh << " result " << l.rw
            << "x" << l.rh << " bits " << l.pictureBits << "/" << l.depthBits << "/" << l.resultBits << "/"
            << l.displayBits << " shift " << c << " reversed " << model.loaded;
    }
    ModelLibrary expected, actual;
    ModelParameters model;
    StereoImages images;
    StereoTrace trace;
};

const int Shifts[] = {0, 1, 10, 37, 90, 300};

TEST_F(StereoRenderModelTest, ResultPair)
{
    unsigned seed = 100;
    for (const Layout& l : Layouts) {
        for (int c : Shifts) {
            for (int loadedReversed = 0; loadedReversed < 2; ++loadedReversed) {
                prepare(l, l.w, seed += 10);
                model.shift = Stereo.shift = c;
                model.loaded = model.reverseDepth = loadedReversed;
                Stereo.depth_loaded = Stereo.reverse_depth = loadedReversed;
                model_result(expected, model);
                render_result(&images, &trace);
                check("result", l, c);
                EXPECT_EQ(actual.current, ResultImage);
            }
        }
    }
}

TEST_F(StereoRenderModelTest, SingleViews)
{
    unsigned seed = 200;
    for (const Layout& l : Layouts) {
        for (int c : Shifts) {
            for (int block : {0, 1, 2}) {
                prepare(l, 3 * l.dw + 5, seed += 10);
                model_left_view(expected, model, DisplayImage, block, c);
                render_left_view(&images, DisplayImage, block, c, &trace);
                check("left view", l, c);
                prepare(l, 3 * l.dw + 5, seed += 10);
                model_right_view(expected, model, block, c);
                render_right_view(&images, block, c, &trace);
                check("right view", l, c);
            }
        }
    }
}

TEST_F(StereoRenderModelTest, AnaglyphAndInterlace)
{
    unsigned seed = 300;
    for (const Layout& l : Layouts) {
        prepare(l, l.w, seed += 10);
        model_anaglyph(expected);
        render_anaglyph(&images, &trace);
        check("anaglyph", l, 0);
        for (int mode : {1, 2}) {
            for (int top : {0, 1, -3, -4, 57}) {
                prepare(l, l.w, seed += 10);
                model_interlace(expected, mode, top);
                render_interlace(&images, mode, top, &trace);
                check("interlace", l, top);
            }
        }
    }
}

TEST_F(StereoRenderModelTest, MultiView)
{
    unsigned seed = 400;
    for (const Layout& l : Layouts) {
        for (int views : {3, 5, 9}) {
            for (int step : {0, 1, 4, 23}) {
                prepare(l, views * l.w, seed += 10);
                model.view_num = Stereo.view_num = views;
                model.M_shift = Stereo.M_shift = step;
                model_multi_view(expected, model);
                render_multi_view(&images, &trace);
                check("multi-view", l, step);
                EXPECT_EQ(actual.current, DisplayImage);
            }
        }
    }
}

TEST_F(StereoRenderModelTest, CurvePlotWithEveryTable)
{
    unsigned seed = 500;
    for (int sCorrect : {0, 100, 255}) {
        for (double sub : {0.0, 0.3, 2.0}) {
            prepare(Layouts[0], 7, seed += 10);
            expected.create(4, 256, 256);
            fill_picture(expected.image[4], seed);
            actual = expected;
            images = actual.buffers();
            Stereo.S_correct = sCorrect;
            Stereo.S_correct_sub = sub;
            update_s_correct_table();
            model_tables(1.0, sub, sCorrect, model.gamma, model.scorr);
            model_plot_curve(expected, model.scorr);
            plot_s_correct(&images, &trace);
            check("curve", Layouts[0], sCorrect);
        }
    }
    // An image 4 of another size is cleared and plotted as far as it reaches.
    prepare(Layouts[0], 7, 9);
    expected.create(4, 100, 300);
    fill_picture(expected.image[4], 77);
    actual = expected;
    images = actual.buffers();
    update_s_correct_table();
    model_plot_curve(expected, SCorrectTable);
    plot_s_correct(&images, &trace);
    check("curve on 100x300", Layouts[0], 0);
}

// Start's single pass against the steps one after the other, image 3
// re-created (and the previous image made current again) by the caller
// first, as the conversion loop does. (Going back fails when the image that
// was current has been destroyed; the replay then puts every selection
// right only if it records nine, which a picture of three pixels or more
// always gives. The start state here names an existing image.)
TEST_F(StereoRenderModelTest, StartConversionInOnePass)
{
    unsigned seed = 700;
    for (const Layout& l : Layouts) {
        for (int missing : {-1, 1, 2, 3, 4}) {
            prepare(l, l.w, seed += 10);
            expected.create(4, 256, 256);
            if (missing >= 0) expected.image[missing] = ModelImage();
            if (!expected.image[expected.current].inUse) expected.current = 0;
            actual = expected;
            images = actual.buffers();
            model_tables(1.0, 0.3, 100, model.gamma, model.scorr);

            model_plot_curve(expected, model.scorr);
            model_depth_map(expected, model, 3);
            model_result(expected, model);
            if (expected.image[3].inUse) { // the anaglyph re-creates image 3 at W x H
                expected.create(3, l.w, l.h, l.displayBits);
                expected.select(3);
            }
            model_anaglyph(expected);

            if (actual.image[3].inUse) {
                actual.create(3, l.w, l.h, l.displayBits);
                actual.select(3);
                actual.restore();
                images = actual.buffers();
            }
            run_start_conversion(&images, &trace);
            check("start", l, missing);
            EXPECT_EQ(Stereo.shift, model.shift);
        }
    }
}

TEST_F(StereoRenderModelTest, StepsWithAMissingImageDoNothing)
{
    for (int missing = 0; missing < 4; ++missing) {
        prepare(Layouts[0], 7, 600 + missing);
        expected.image[missing] = ModelImage();
        actual = expected;
        images = actual.buffers();
        model.shift = Stereo.shift = 5;
        model_result(expected, model);
        model_anaglyph(expected);
        model_interlace(expected, 1, 0);
        model_multi_view(expected, model);
        render_result(&images, &trace);
        render_anaglyph(&images, &trace);
        render_interlace(&images, 1, 0, &trace);
        render_multi_view(&images, &trace);
        check("missing image", Layouts[0], missing);
    }
}

} // namespace
