// The converter's parameters: tables, buttons, console lines and texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "stereo/parameters.h"
#include "stereo/texts.h"

namespace {

class StereoParameterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        reset_stereo_parameters();
        update_gamma_table();
        update_s_correct_table();
    }
    // Clicks `button` and returns the console line.
    std::string click(int button, int* followUp = nullptr)
    {
        char line[64];
        int f = run_parameter_button(button, line, sizeof line);
        if (followUp != nullptr) *followUp = f;
        return line;
    }
};

TEST_F(StereoParameterTest, StartValues)
{
    EXPECT_EQ(Stereo.S_mod, 9);
    EXPECT_EQ(Stereo.S_correct, 100);
    EXPECT_EQ(Stereo.S_correct_sub, 0.3);
    EXPECT_EQ(Stereo.gamma, 1.0);
    EXPECT_EQ(Stereo.view_num, 9);
    EXPECT_EQ(Stereo.reverse_depth, 0);
    reset_run_parameters(100);
    EXPECT_EQ(Stereo.M_shift, 3);
    reset_run_parameters(31);
    EXPECT_EQ(Stereo.M_shift, 0);
}

TEST_F(StereoParameterTest, GammaOneIsTheIdentity)
{
    for (int i = 0; i < 256; ++i) EXPECT_EQ(GammaTable[i], i) << i;
}

TEST_F(StereoParameterTest, SCorrectionEntriesAtTheStartValues)
{
    for (int i = 0; i <= 59; ++i) EXPECT_EQ(SCorrectTable[i], 0) << i;
    struct Entry { int in, out; };
    const Entry entries[] = {{64, 1}, {100, 6}, {128, 15}, {192, 60}, {200, 68}, {230, 109}, {255, 155}};
    for (const Entry& e : entries) EXPECT_EQ(SCorrectTable[e.in], e.out) << e.in;
}

TEST_F(StereoParameterTest, ZeroExponentsLeaveOnlyTheTopEntry)
{
    Stereo.gamma = 0;
    Stereo.S_correct_sub = 0;
    Stereo.S_correct = 55;
    update_gamma_table();
    update_s_correct_table();
    for (int i = 0; i < 255; ++i) {
        EXPECT_EQ(GammaTable[i], 0) << i;
        EXPECT_EQ(SCorrectTable[i], 0) << i;
    }
    EXPECT_EQ(GammaTable[255], 255);
    EXPECT_EQ(SCorrectTable[255], 200);
}

TEST_F(StereoParameterTest, FullAttenuationFlattensTheCurve)
{
    Stereo.S_correct = 250;
    int followUp = -1;
    EXPECT_EQ(click(13, &followUp), "S_correct:255\n");
    EXPECT_EQ(followUp, FollowPlotCurve);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(SCorrectTable[i], 0) << i;
}

TEST_F(StereoParameterTest, GammaStepsAccumulateTheRoundingOfATenth)
{
    std::string line;
    for (int i = 0; i < 10; ++i) line = click(16);
    EXPECT_EQ(line, "gamma:0.000000\n");
    EXPECT_GT(Stereo.gamma, 0.0); // a tiny positive remainder
    EXPECT_LT(Stereo.gamma, 1e-12);
    EXPECT_EQ(click(16), "gamma:0.000000\n");
    EXPECT_EQ(Stereo.gamma, 0.0);
    // The table followed at once: a zero gamma keeps only entry 255.
    EXPECT_EQ(GammaTable[254], 0);
    EXPECT_EQ(GammaTable[255], 255);
    EXPECT_EQ(click(17), "gamma:0.100000\n");
}

TEST_F(StereoParameterTest, OneStepDownFromOneIsPrintedAsNineTenths)
{
    EXPECT_EQ(click(16), "gamma:0.900000\n");
    EXPECT_EQ(Stereo.gamma, 1.0 - 0.1);
    EXPECT_EQ(GammaTable[128], (int)(std::pow(128 / 255.0, 1.0 / (1.0 - 0.1)) * 255.0));
}

TEST_F(StereoParameterTest, ThreeScorreSubStepsReachZero)
{
    EXPECT_EQ(click(14), "S_correct_sub:0.200000\n");
    EXPECT_EQ(click(14), "S_correct_sub:0.100000\n");
    EXPECT_GT(Stereo.S_correct_sub, 0.0);
    EXPECT_EQ(click(14), "S_correct_sub:0.000000\n");
    EXPECT_EQ(Stereo.S_correct_sub, 0.0); // the slightly negative result was clamped
    EXPECT_EQ(SCorrectTable[254], 0);
    EXPECT_EQ(SCorrectTable[255], 155);
    int followUp = -1;
    EXPECT_EQ(click(15, &followUp), "S_correct_sub:0.100000\n");
    EXPECT_EQ(followUp, FollowPlotCurve);
}

TEST_F(StereoParameterTest, ClampSequences)
{
    struct Step { int button; int start; int* value; const char* line; int after; };
    const Step steps[] = {
        {13, 250, &Stereo.S_correct, "S_correct:255\n", 255},
        {13, 255, &Stereo.S_correct, "S_correct:255\n", 255},
        {12, 3, &Stereo.S_correct, "S_correct:0\n", 0},
        {20, 3, &Stereo.view_num, "view_num:3\n", 3},
        {20, 9, &Stereo.view_num, "view_num:7\n", 7},
        {21, 9, &Stereo.view_num, "view_num:11\n", 11},
        {11, 10, &Stereo.S_mod, "S_mod:10\n", 10},
        {10, 0, &Stereo.S_mod, "S_mod:0\n", 0},
        {10, 9, &Stereo.S_mod, "S_mod:8\n", 8},
        {22, 0, &Stereo.M_shift, "M_shift:0\n", 0},
        {23, 0, &Stereo.M_shift, "M_shift:1\n", 1},
        {0, 0, &Stereo.shift, "shift:0\n", 0},
        {0, 7, &Stereo.shift, "shift:6\n", 6},
        {1, 7, &Stereo.shift, "shift:8\n", 8},
    };
    for (const Step& s : steps) {
        *s.value = s.start;
        EXPECT_EQ(click(s.button), s.line) << "button " << s.button << " from " << s.start;
        EXPECT_EQ(*s.value, s.after) << "button " << s.button << " from " << s.start;
    }
}

TEST_F(StereoParameterTest, FollowUpsOfTheButtons)
{
    struct Case { int button; int followUp; };
    const Case cases[] = {
        {0, FollowRenderResult}, {1, FollowRenderResult}, {5, FollowNothing},   {10, FollowNothing},
        {11, FollowNothing},     {12, FollowPlotCurve},   {13, FollowPlotCurve}, {14, FollowPlotCurve},
        {15, FollowPlotCurve},   {16, FollowNothing},     {17, FollowNothing},   {20, FollowNothing},
        {21, FollowNothing},     {22, FollowNothing},     {23, FollowNothing},
    };
    for (const Case& c : cases) EXPECT_EQ(run_parameter_button(c.button, nullptr, 0), c.followUp) << c.button;
}

TEST_F(StereoParameterTest, OtherButtonsChangeNothing)
{
    const StereoParameters before = Stereo;
    for (int button : {2, 3, 4, 6, 7, 8, 9, 18, 19, 24, 25, 26, -1}) {
        int followUp = 0;
        EXPECT_EQ(click(button, &followUp), "") << button;
        EXPECT_EQ(followUp, NotAParameterButton) << button;
    }
    EXPECT_EQ(Stereo.shift, before.shift);
    EXPECT_EQ(Stereo.S_mod, before.S_mod);
    EXPECT_EQ(Stereo.S_correct, before.S_correct);
    EXPECT_EQ(Stereo.S_correct_sub, before.S_correct_sub);
    EXPECT_EQ(Stereo.gamma, before.gamma);
    EXPECT_EQ(Stereo.view_num, before.view_num);
    EXPECT_EQ(Stereo.M_shift, before.M_shift);
    EXPECT_EQ(Stereo.reverse_depth, before.reverse_depth);
}

TEST_F(StereoParameterTest, DepthDirectionToggles)
{
    EXPECT_EQ(click(5), "Reverse depth\n");
    EXPECT_EQ(Stereo.reverse_depth, 1);
    EXPECT_EQ(click(5), "Normal depth\n");
    EXPECT_EQ(Stereo.reverse_depth, 0);
}

TEST_F(StereoParameterTest, ConsoleLineIsCutToItsBuffer)
{
    char line[8];
    memset(line, '#', sizeof line);
    run_parameter_button(15, line, 6);
    EXPECT_STREQ(line, "S_cor");
    EXPECT_EQ(line[6], '#');
    EXPECT_EQ(Stereo.S_correct_sub, 0.3 + 0.1); // the value changed all the same
}

TEST(StereoTexts, PanelCaptionsRowByRow)
{
    EXPECT_STREQ(PanelCaptions[0], "--");
    EXPECT_STREQ(PanelCaptions[1], "++");
    EXPECT_STREQ(PanelCaptions[5], "");
    EXPECT_STREQ(PanelCaptions[9], "S mod+V");
    EXPECT_STREQ(PanelCaptions[14], "ScorreSub-");
    EXPECT_STREQ(PanelCaptions[19], "break");
    EXPECT_STREQ(PanelCaptions[22], "M_shft-");
    EXPECT_STREQ(PanelCaptions[24], "multi_view");
    EXPECT_STREQ(PanelCaptions[25], "");
}

TEST(StereoTexts, JapaneseOnlyUnderCodePage932)
{
    const char* japanese = converter_text(TextDragPicture, 932);
    EXPECT_EQ(strlen(japanese), 24u); // twelve double-byte characters
    EXPECT_EQ(std::string(japanese, 2), "\x89\xE6"); // the first character's lead and trail byte
    for (unsigned codePage : {1252u, 437u, 65001u, 936u}) {
        const char* text = converter_text(TextDragPicture, codePage);
        EXPECT_STREQ(text, "Please drag a picture onto the TAVKIT window") << codePage;
    }
    EXPECT_STREQ(converter_text(ConverterTextCount, 932), "");
}

} // namespace
