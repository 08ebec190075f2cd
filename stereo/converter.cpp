// The stereo converter's hooks: the control panel at start-up, and on each
// Start the image layout, a first conversion and the loop that polls the
// panel. The pixel work is done on the images' buffers by the window-free
// steps; what a pixel-by-pixel step would leave behind in the library (the
// current image, its history and the pen) is replayed afterwards.
#include <cstdio>

#include "stereo/conversion_loop.h"
#include "stereo/depth_map.h"
#include "stereo/parameters.h"
#include "stereo/render.h"
#include "stereo/start_conversion.h"
#include "stereo/texts.h"
#include "tavkit.h"

namespace {

enum { ConsoleLineBytes = 128, DepthFileBytes = 260 };

char DepthFileName[DepthFileBytes]; // worker: path chosen by "load"

bool ImageExists(int number)
{
    TavImageInfo info;
    return TAV_GetImageInfo(number, &info) == 0;
}

// Images 0..4 as the steps see them: each buffer, or none for a free slot.
StereoImages CurrentImages(void)
{
    StereoImages images = {};
    for (int n = 0; n < StereoImageCount; ++n) {
        TavImageInfo info;
        if (TAV_GetImageInfo(n, &info) != 0) continue;
        images.image[n] = StereoBuffer{info.pixels, info.width, info.height, info.bits};
    }
    return images;
}

int PictureWidth(void)
{
    TavImageInfo info;
    return TAV_GetImageInfo(PictureImage, &info) == 0 ? info.width : 0;
}

void SelectForReplay(int image) { TAV_SelectImage(image); }
void TouchPen(int x, int y) { TAV_SetPixel(x, y, TAV_GetPixel(x, y)); }

void Replay(const StereoTrace& trace) { trace_replay(&trace, SelectForReplay, TouchPen); }

void ShowIf(bool shown, int image)
{
    if (shown) TAV_ShowImage(image);
}

// ---- Steps ------------------------------------------------------------------------

void PlotCurveStep(void)
{
    StereoImages images = CurrentImages();
    if (!buffer_exists(images.image[CurveImage])) return;
    StereoTrace trace;
    trace_clear(&trace);
    plot_s_correct(&images, &trace);
    Replay(trace);
    TAV_ShowImage(CurveImage);
}

void ResultStep(void)
{
    StereoImages images = CurrentImages();
    StereoTrace trace;
    trace_clear(&trace);
    render_result(&images, &trace);
    Replay(trace);
    ShowIf(buffer_exists(images.image[PictureImage]) && buffer_exists(images.image[DepthImage]) &&
               buffer_exists(images.image[ResultImage]),
           ResultImage);
}

void DepthMapStep(int kind)
{
    StereoImages images = CurrentImages();
    StereoTrace trace;
    trace_clear(&trace);
    run_depth_map(kind, &images, &trace);
    Replay(trace);
    ShowIf(buffer_exists(images.image[PictureImage]) && buffer_exists(images.image[DepthImage]),
           DepthImage);
    ResultStep();
    TAV_Printf("%s", DepthMapSteps[kind].consoleLine);
}

// Re-creates image 3 at `width` x the picture's height (creating it again
// when the user closed it). False when it cannot be had.
bool RecreateDisplay(int width, int height)
{
    if (ImageExists(DisplayImage)) return TAV_ResizeImage(DisplayImage, width, height) == 0;
    const ConverterImage& d = ConverterImages[DisplayImage];
    return TAV_CreateImage(DisplayImage, d.name, d.x, d.y, width, height, 100, 32) == 0;
}

enum OutputKind { OutputAnaglyph, OutputInterlace1, OutputInterlace2, OutputMultiView };

void OutputStep(int kind)
{
    TavImageInfo picture;
    if (TAV_GetImageInfo(PictureImage, &picture) != 0 || !ImageExists(DepthImage)) return;
    const int width = kind == OutputMultiView ? Stereo.view_num * picture.width : picture.width;
    if (!RecreateDisplay(width, picture.height)) return;
    if (kind != OutputMultiView) TAV_ZoomImage(DisplayImage, 100);
    StereoImages images = CurrentImages();
    StereoTrace trace;
    trace_clear(&trace);
    switch (kind) {
    case OutputAnaglyph: render_anaglyph(&images, &trace); break;
    case OutputInterlace1:
    case OutputInterlace2: {
        TavImageInfo display;
        TAV_GetImageInfo(DisplayImage, &display);
        render_interlace(&images, kind == OutputInterlace1 ? 1 : 2, display.windowY, &trace);
        break;
    }
    default: render_multi_view(&images, &trace); break;
    }
    Replay(trace);
    if (kind != OutputMultiView) TAV_BringImageToFront(DisplayImage);
    TAV_ShowImage(DisplayImage);
}

void LoadStep(void)
{
    if (TAV_OpenFileDialog(LoadDialogTitle, DepthFileName) != 0) return;
    if (TAV_SelectImage(DepthImage) != 0 || TAV_LoadImage(DepthFileName, 0, 0) != 0) {
        TAV_Printf("%s", LoadFailedLine);
        return;
    }
    TAV_Printf(LoadedFormat, DepthFileName);
    TAV_ShowImage(DepthImage);
    Stereo.depth_loaded = 1;
    if (ImageExists(PictureImage)) Stereo.shift = PictureWidth() / 64;
    ResultStep();
}

void BreakStep(void)
{
    for (int n = 0; n < StereoImageCount; ++n) TAV_DestroyImage(n);
}

void ParameterStep(int button)
{
    char line[ConsoleLineBytes];
    int follow = run_parameter_button(button, line, sizeof line);
    TAV_Printf("%s", line);
    if (follow == FollowRenderResult) ResultStep();
    if (follow == FollowPlotCurve) PlotCurveStep();
}

// Runs the action of a clicked button; false when the loop must end.
bool RunButton(int button)
{
    const PanelButton& b = PanelActions[button];
    switch (b.action) {
    case ActParameter: ParameterStep(button); return true;
    case ActDepthMap: DepthMapStep(b.argument); return true;
    case ActAnaglyph: OutputStep(OutputAnaglyph); return true;
    case ActInterlace: OutputStep(b.argument == 1 ? OutputInterlace1 : OutputInterlace2); return true;
    case ActLoad: LoadStep(); return true;
    case ActBreak: BreakStep(); return false;
    case ActMultiView: OutputStep(OutputMultiView); return true;
    default: return true;
    }
}

// Moves the picture and creates the converter's other images (a number in
// use is taken as it is).
void LayOutImages(const TavImageInfo& picture)
{
    TAV_MoveImageWindow(PictureImage, ConverterImages[PictureImage].x, ConverterImages[PictureImage].y);
    for (int i = 1; i < ConverterImageCount; ++i) {
        const ConverterImage& c = ConverterImages[i];
        if (ImageExists(c.number)) continue;
        int width = c.widthPictures ? c.widthPictures * picture.width : c.fixedWidth;
        int height = c.widthPictures ? picture.height : c.fixedHeight;
        TAV_CreateImage(c.number, c.name, c.x, c.y, width, height, 100, 32);
    }
}

// The first conversion: S-correction curve, "S mod+V" depth map, result pair
// and anaglyph, computed together in one pass over the picture.
void FirstConversion(const TavImageInfo& picture)
{
    // The anaglyph's display image is re-created first; going back to the
    // image current before keeps the selection history as the steps leave it.
    if (ImageExists(DepthImage) && RecreateDisplay(picture.width, picture.height)) {
        TAV_ZoomImage(DisplayImage, 100);
        TAV_RestoreImage();
    }
    StereoImages images = CurrentImages();
    StereoTrace trace;
    trace_clear(&trace);
    run_start_conversion(&images, &trace);
    Replay(trace);
    ShowIf(buffer_exists(images.image[CurveImage]), CurveImage);
    bool depthShown = buffer_exists(images.image[DepthImage]);
    ShowIf(depthShown, DepthImage);
    TAV_Printf("%s", DepthMapSteps[SModVMap].consoleLine);
    ShowIf(depthShown && buffer_exists(images.image[ResultImage]), ResultImage);
    if (depthShown && buffer_exists(images.image[DisplayImage])) {
        TAV_BringImageToFront(DisplayImage);
        TAV_ShowImage(DisplayImage);
    }
}

} // namespace

void TAV_Setup(void)
{
    reset_stereo_parameters();
    TAV_OpenTextWindow(0, 216, 0, 198, 106);
    TAV_OpenButtonBox(0, 0, PanelColumns, PanelRows);
    for (int i = 0; i < PanelButtons; ++i)
        if (i < TAV_ButtonBoxCount()) TAV_SetButtonBoxTitle(i, PanelCaptions[i]);
    update_gamma_table();
    update_s_correct_table();
    PlotCurveStep(); // draws only when image 4 exists
    TAV_Printf("%s", SetupMessage);
}

void TAV_Main(void)
{
    TavImageInfo picture;
    if (TAV_GetImageInfo(PictureImage, &picture) != 0 || TAV_GetStretchMode(PictureImage) == 0) {
        TAV_Pause(converter_text(TextDragPicture, TAV_SystemCodePage()));
        return;
    }
    LayOutImages(picture);
    FirstConversion(picture);
    reset_run_parameters(picture.width);

    for (;;) {
        for (int i = 0; i < PanelButtons; ++i) {
            TAV_Printf(""); // repaints the console and pumps the worker's messages
            if (i >= TAV_ButtonBoxCount()) continue;
            if (TAV_TakeButtonClicks(i) == 0) continue;
            if (!RunButton(i)) return;
        }
        if (wait_step(TAV_GetTime, TAV_ProcessMessages, StopRequested)) return;
    }
}
