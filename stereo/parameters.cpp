// The converter's parameters, lookup tables and parameter buttons (see parameters.h).
#include "stereo/parameters.h"

#include <cmath>
#include <cstdio>

StereoParameters Stereo;
int GammaTable[256];
int SCorrectTable[256];

void reset_stereo_parameters(void)
{
    Stereo.shift = 0;
    Stereo.S_mod = 9;
    Stereo.S_correct = 100;
    Stereo.S_correct_sub = 0.3;
    Stereo.gamma = 1.0;
    Stereo.view_num = 9;
    Stereo.M_shift = 0;
    Stereo.reverse_depth = 0;
    Stereo.depth_loaded = 0;
}

void reset_run_parameters(int pictureWidth)
{
    Stereo.M_shift = pictureWidth / 32;
    Stereo.view_num = 9;
}

// trunc(pow(i / 255.0, 1.0 / exponent) * 255.0). A zero exponent gives an
// infinite power: 0 below i = 255 and 255 at it, without a trap.
static int power_curve(int i, double exponent)
{
    return (int)(std::pow(i / 255.0, 1.0 / exponent) * 255.0);
}

void update_gamma_table(void)
{
    for (int i = 0; i < 256; ++i) GammaTable[i] = power_curve(i, Stereo.gamma);
}

void update_s_correct_table(void)
{
    for (int i = 0; i < 256; ++i)
        SCorrectTable[i] = power_curve(i, Stereo.S_correct_sub) * (255 - Stereo.S_correct) / 255;
}

namespace {

enum ClampSide { NoClamp, ClampBelow, ClampAbove };

// One parameter button: which value it steps, by how much, where it is
// clamped, the console line it prints and what follows.
struct ParameterButton {
    int button;
    int* whole;          // the integer parameter, or nullptr
    double* real;        // the double parameter, or nullptr
    double step;         // added to the value (an integer step for `whole`)
    int clamp;           // ClampSide
    int bound;           // the clamp's limit
    const char* format;  // console line, with the value after clamping
    int followUp;        // ParameterFollowUp
    void (*update)(void); // table rebuilt at once, or nullptr
};

const ParameterButton ParameterButtons[] = {
    {0, &Stereo.shift, nullptr, -1, ClampBelow, 0, "shift:%d\n", FollowRenderResult, nullptr},
    {1, &Stereo.shift, nullptr, +1, NoClamp, 0, "shift:%d\n", FollowRenderResult, nullptr},
    {10, &Stereo.S_mod, nullptr, -1, ClampBelow, 0, "S_mod:%d\n", FollowNothing, nullptr},
    {11, &Stereo.S_mod, nullptr, +1, ClampAbove, 10, "S_mod:%d\n", FollowNothing, nullptr},
    {12, &Stereo.S_correct, nullptr, -5, ClampBelow, 0, "S_correct:%d\n", FollowPlotCurve,
     update_s_correct_table},
    {13, &Stereo.S_correct, nullptr, +5, ClampAbove, 255, "S_correct:%d\n", FollowPlotCurve,
     update_s_correct_table},
    {14, nullptr, &Stereo.S_correct_sub, -0.1, ClampBelow, 0, "S_correct_sub:%f\n", FollowPlotCurve,
     update_s_correct_table},
    {15, nullptr, &Stereo.S_correct_sub, +0.1, NoClamp, 0, "S_correct_sub:%f\n", FollowPlotCurve,
     update_s_correct_table},
    {16, nullptr, &Stereo.gamma, -0.1, ClampBelow, 0, "gamma:%f\n", FollowNothing, update_gamma_table},
    {17, nullptr, &Stereo.gamma, +0.1, NoClamp, 0, "gamma:%f\n", FollowNothing, update_gamma_table},
    {20, &Stereo.view_num, nullptr, -2, ClampBelow, 3, "view_num:%d\n", FollowNothing, nullptr},
    {21, &Stereo.view_num, nullptr, +2, NoClamp, 0, "view_num:%d\n", FollowNothing, nullptr},
    {22, &Stereo.M_shift, nullptr, -1, ClampBelow, 0, "M_shift:%d\n", FollowNothing, nullptr},
    {23, &Stereo.M_shift, nullptr, +1, NoClamp, 0, "M_shift:%d\n", FollowNothing, nullptr},
};

enum { DepthDirectionButton = 5 };

// The integer parameters only ever step by a few units from values a
// picture size gives, so they cannot reach the ends of int; the sum is
// formed in 64 bits and held within int all the same.
int step_whole(int value, int step)
{
    long long next = (long long)value + step;
    if (next > 0x7fffffff) next = 0x7fffffff;
    if (next < -0x7fffffff - 1) next = -0x7fffffff - 1;
    return (int)next;
}

void format_line(char* line, int size, const char* format, const ParameterButton* b)
{
    if (line == nullptr || size <= 0) return;
    if (format == nullptr) line[0] = 0;
    else if (b == nullptr) snprintf(line, (size_t)size, "%s", format);
    else if (b->whole != nullptr) snprintf(line, (size_t)size, format, *b->whole);
    else snprintf(line, (size_t)size, format, *b->real);
}

} // namespace

int run_parameter_button(int button, char* line, int size)
{
    if (button == DepthDirectionButton) {
        Stereo.reverse_depth = !Stereo.reverse_depth;
        format_line(line, size, Stereo.reverse_depth ? "Reverse depth\n" : "Normal depth\n", nullptr);
        return FollowNothing;
    }
    for (const ParameterButton& b : ParameterButtons) {
        if (b.button != button) continue;
        if (b.whole != nullptr) {
            int v = step_whole(*b.whole, (int)b.step);
            if (b.clamp == ClampBelow && v < b.bound) v = b.bound;
            if (b.clamp == ClampAbove && v > b.bound) v = b.bound;
            *b.whole = v;
        } else {
            double v = *b.real + b.step;
            if (b.clamp == ClampBelow && v < b.bound) v = b.bound;
            if (b.clamp == ClampAbove && v > b.bound) v = b.bound;
            *b.real = v;
        }
        format_line(line, size, b.format, &b);
        if (b.update != nullptr) b.update();
        return b.followUp;
    }
    format_line(line, size, nullptr, nullptr);
    return NotAParameterButton;
}
