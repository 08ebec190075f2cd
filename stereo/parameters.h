// The converter's parameters, its two lookup tables and the handlers of the
// parameter buttons. Everything here lives for the whole run and is touched
// only on the worker thread (TAV_Setup and the conversion loop).
#ifndef STEREO_PARAMETERS_H
#define STEREO_PARAMETERS_H

// The converter's image numbers.
enum StereoImageNumber {
    PictureImage = 0, // the dropped picture
    DepthImage = 1,   // "depth": computed or loaded depth map
    ResultImage = 2,  // "result": derived view | picture
    DisplayImage = 3, // "display": anaglyph, interlace or multi-view
    CurveImage = 4,   // "S_correct": plot of the S-correction table
    StereoImageCount = 5
};

enum { PanelColumns = 2, PanelRows = 13, PanelButtons = PanelColumns * PanelRows };

struct StereoParameters {
    int shift;            // displacement scale of the result pair: level d moves d * shift / 256 columns
    int S_mod;            // 0..10: weight in tenths of the darkness term of "S mod" and "S mod+V"
    int S_correct;        // 0..255: attenuation of the S-correction curve (its top is 255 - S_correct)
    double S_correct_sub; // >= 0: the S-correction curve is input^(1 / S_correct_sub)
    double gamma;         // >= 0: the gamma curve is input^(1 / gamma)
    int view_num;         // odd, >= 3 after a click: views of the multi-view strip; reset by Start
    int M_shift;          // >= 0: shift step between neighbouring views; reset by Start
    int reverse_depth;    // 1 while the depth direction is reversed (button 5), else 0
    int depth_loaded;     // 1 while image 1 holds a loaded depth-map file, 0 for a computed map
};

extern StereoParameters Stereo;   // worker thread
extern int GammaTable[256];       // worker: colour measure -> depth level
extern int SCorrectTable[256];    // worker: modified saturation -> level fed to GammaTable

// Start values of every parameter (TAV_Setup).
void reset_stereo_parameters(void);
// What each Start resets: view_num 9, M_shift = picture width / 32.
void reset_run_parameters(int pictureWidth);
// entry i = trunc(pow(i / 255.0, 1.0 / gamma) * 255.0).
void update_gamma_table(void);
// entry i = trunc(pow(i / 255.0, 1.0 / S_correct_sub) * 255.0) * (255 - S_correct) / 255.
// Table only: plotting it into image 4 is plot_s_correct (render.h).
void update_s_correct_table(void);

// What the conversion loop still has to do after a parameter button.
enum ParameterFollowUp {
    NotAParameterButton = -1,
    FollowNothing = 0,      // the value takes effect the next time its step runs
    FollowRenderResult = 1, // re-render the result pair and show it
    FollowPlotCurve = 2,    // S-correction table rebuilt: plot it into image 4 if it exists
};

// Runs the handler of parameter button `button` (0, 1, 5, 10..17, 20..23):
// changes and clamps the value, rebuilds the gamma or S-correction table
// where the button asks for it, and formats the console line into `line`
// (`size` bytes, always terminated). Other buttons change nothing, leave an
// empty line and return NotAParameterButton.
int run_parameter_button(int button, char* line, int size);

#endif
