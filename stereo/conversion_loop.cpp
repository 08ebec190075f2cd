// The window-free rules of the conversion loop (see conversion_loop.h).
#include "stereo/conversion_loop.h"

#include "stereo/depth_map.h"

const PanelButton PanelActions[PanelButtons] = {
    {ActParameter, 0},        {ActParameter, 0},       // "--", "++"
    {ActDepthMap, VMap},      {ActDepthMap, SMap},     // "V map", "S map"
    {ActAnaglyph, 0},         {ActParameter, 0},       // "anaglyph", the depth direction
    {ActInterlace, 1},        {ActInterlace, 2},       // "I-lace1", "I-lace2"
    {ActDepthMap, SModMap},   {ActDepthMap, SModVMap}, // "S mod", "S mod+V"
    {ActParameter, 0},        {ActParameter, 0},       // "Smod -", "Smod +"
    {ActParameter, 0},        {ActParameter, 0},       // "Scorrect -", "Scorrect +"
    {ActParameter, 0},        {ActParameter, 0},       // "ScorreSub-", "ScorreSub+"
    {ActParameter, 0},        {ActParameter, 0},       // "gamma -", "gamma +"
    {ActLoad, 0},             {ActBreak, 0},           // "load", "break"
    {ActParameter, 0},        {ActParameter, 0},       // "view_num-", "view_num+"
    {ActParameter, 0},        {ActParameter, 0},       // "M_shft-", "M_shft+"
    {ActMultiView, 0},        {ActNothing, 0},         // "multi_view", the last button
};

const ConverterImage ConverterImages[ConverterImageCount] = {
    {PictureImage, nullptr, 216, 140, 1, 0, 0},
    {DepthImage, "depth", 422, 0, 1, 0, 0},
    {ResultImage, "result", 0, 308, 2, 0, 0},
    {DisplayImage, "display", 500, 50, 1, 0, 0},
    {CurveImage, "S_correct", 300, 0, 0, 256, 256},
};

int wait_step(uint32_t (*now)(void), void (*pump)(void), const std::atomic<int>& stopRequested)
{
    uint32_t start = now();
    for (;;) {
        if (now() - start >= WaitStepMs) return 0;
        pump();
        if (stopRequested.load() != 0) return 1;
    }
}
