// A slow model of the converter's steps, done the long way: a small stand-in
// for the library's image table (current image, 8-entry selection history,
// pen, single pixel reads and writes with their bounds tests) and every step
// written out pixel by pixel with a selection before each access. The tests
// compare the converter's buffer code and its replayed end state with it.
#ifndef STEREO_LITERAL_H
#define STEREO_LITERAL_H

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "stereo/pixel_rows.h"
#include "stereo/trace.h"

struct ModelImage {
    bool inUse = false;
    int bits = 32;
    int width = 0, height = 0;
    std::vector<uint32_t> words; // 32-bit pixels
    std::vector<uint8_t> bytes;  // 8-bit pixels, rows padded to a multiple of 4
};

struct ModelLibrary {
    ModelImage image[5];
    int current = 0;
    int history[8] = {};
    int penX = 0, penY = 0;

    void create(int n, int width, int height, int bits = 32);
    int select(int n);
    int restore();
    uint32_t get(int x, int y) const;
    void set(int x, int y, uint32_t colour);  // moves the pen
    void plot(int x, int y, uint32_t colour); // does not
    void draw_box(int x0, int y0, int x1, int y1, uint32_t border, uint32_t fill);
    // Block write of `values` (w per row) into the current image at column x, row 0.
    void write_block(const std::vector<uint32_t>& values, int x, int w, int h);

    StereoImages buffers();
};

// Tables from their formulas.
void model_tables(double gamma, double sCorrectSub, int sCorrect, int gammaTable[256], int sTable[256]);

struct ModelParameters {
    int shift = 0, S_mod = 9, view_num = 9, M_shift = 0;
    int gamma[256], scorr[256];
    bool reverseDepth = false; // the depth direction
    bool loaded = false;       // image 1 holds a loaded map
};

void model_depth_map(ModelLibrary& lib, ModelParameters& p, int kind);
void model_left_view(ModelLibrary& lib, const ModelParameters& p, int target, int k, int c);
void model_right_view(ModelLibrary& lib, const ModelParameters& p, int m, int c);
void model_result(ModelLibrary& lib, const ModelParameters& p);
void model_anaglyph(ModelLibrary& lib);
void model_interlace(ModelLibrary& lib, int mode, int top);
void model_multi_view(ModelLibrary& lib, const ModelParameters& p);
void model_plot_curve(ModelLibrary& lib, const int sTable[256]);

// Test pictures: a smooth colour field with noise (top byte set at places)
// and a depth map of level runs with jumps both ways, some pixels coloured.
void fill_picture(ModelImage& im, unsigned seed);
void fill_depth(ModelImage& im, unsigned seed);
// Random current image, history and pen.
void scramble_state(ModelLibrary& lib, unsigned seed);

// Replays a converter step's record into `lib` through its select, get and set.
void replay_into(ModelLibrary& lib, const StereoTrace& trace);
// Same pixels in every image, same current image, history and pen.
::testing::AssertionResult same_state(const ModelLibrary& expected, const ModelLibrary& actual);

#endif
