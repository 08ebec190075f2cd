// The window-free rules of the conversion loop.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

#include "stereo/conversion_loop.h"
#include "stereo/depth_map.h"
#include "stereo/texts.h"

namespace {

TEST(StereoConversionLoop, ButtonsDoWhatTheirCaptionsSay)
{
    for (int i = 0; i < PanelButtons; ++i) {
        char line[64];
        reset_stereo_parameters();
        bool parameter = run_parameter_button(i, line, sizeof line) != NotAParameterButton;
        EXPECT_EQ(PanelActions[i].action == ActParameter, parameter) << i << " " << PanelCaptions[i];
    }
    for (int kind = 0; kind < DepthMapKindCount; ++kind) {
        const PanelButton& b = PanelActions[DepthMapSteps[kind].button];
        EXPECT_EQ(b.action, ActDepthMap);
        EXPECT_EQ(b.argument, kind);
    }
    struct Case { const char* caption; int action, argument; };
    const Case cases[] = {{"anaglyph", ActAnaglyph, 0}, {"I-lace1", ActInterlace, 1}, {"I-lace2", ActInterlace, 2},
                          {"load", ActLoad, 0},         {"break", ActBreak, 0},       {"multi_view", ActMultiView, 0}};
    for (const Case& c : cases) {
        int i = 0;
        while (i < PanelButtons && strcmp(PanelCaptions[i], c.caption) != 0) ++i;
        ASSERT_LT(i, PanelButtons) << c.caption;
        EXPECT_EQ(PanelActions[i].action, c.action) << c.caption;
        EXPECT_EQ(PanelActions[i].argument, c.argument) << c.caption;
    }
    EXPECT_EQ(PanelActions[25].action, ActNothing);
}

TEST(StereoConversionLoop, ImagesInCreationOrder)
{
    for (int i = 0; i < ConverterImageCount; ++i) EXPECT_EQ(ConverterImages[i].number, i);
    EXPECT_STREQ(ConverterImages[2].name, "result");
    EXPECT_EQ(ConverterImages[2].widthPictures, 2);
    EXPECT_EQ(ConverterImages[4].fixedWidth, 256);
}

uint32_t Clock;
int Pumps;
std::atomic<int> Stop;
int StopAtPump;
uint32_t now() { return Clock; }
void pump()
{
    ++Pumps;
    Clock += 7;
    if (Pumps == StopAtPump) Stop = 1;
}

TEST(StereoConversionLoop, WaitStepPumpsUntil100MsOrStop)
{
    struct Case { uint32_t start; int stopAt; int result; int pumps; };
    const Case cases[] = {
        {1000, 0, 0, 15},         // 15 pumps of 7 ms pass 100 ms
        {0xFFFFFFF0u, 0, 0, 15},  // across the wrap of the clock
        {1000, 3, 1, 3},          // Stop seen right after the third pump
    };
    for (const Case& c : cases) {
        Clock = c.start;
        Pumps = 0;
        Stop = 0;
        StopAtPump = c.stopAt;
        EXPECT_EQ(wait_step(now, pump, Stop), c.result);
        EXPECT_EQ(Pumps, c.pumps);
    }
}

} // namespace
