// tavkit.h: the one header a user program includes.
//
// A user program supplies two hooks, TAV_Setup (run once when the library
// starts) and TAV_Main (run each time the user clicks Start), and calls the
// TAV_ operations below from them. Both hooks run on the library's worker
// thread, which owns every image window, text window and box.
//
// Text is narrow text in the system code page. Colours are ColorWords
// 0x00RRGGBB. Results are small integers: 0 for success, a code otherwise.
#ifndef TAVKIT_H
#define TAVKIT_H

#include <atomic>
#include <cstdint>

// ---- User program hooks (defined by the user program) ----------------------
void TAV_Setup(void);
void TAV_Main(void);

// ---- Shell: run control, clock, status line ---------------------------------
enum { TAVMAINWINDOW = -1 };          // the main window, for TAV_SetForeground

void TAV_ProcessMessages(void);       // handle every waiting message of this thread
uint32_t TAV_GetTime(void);           // milliseconds; compare with unsigned differences
void TAV_Pause(const char* text);     // modal "Pause" message box
void TAV_SetStatus(const char* text); // centred text in the main window's status line
void TAV_SplitRGB(uint32_t color, int* red, int* green, int* blue);
void TAV_SetForeground(int window);   // TAVMAINWINDOW brings the main window forward
unsigned TAV_SystemCodePage(void);    // the ANSI code page narrow text is in (932: Japanese)

// Run control, written by the library; long-running user code polls these and
// returns from TAV_Main once either is non-zero.
extern std::atomic<int> StopRequested; // 1 after Stop or Exit; cleared around each TAV_Main
extern std::atomic<int> ExitState;     // 0 running, 1 exit requested, 2 worker finished

// ---- Text windows -----------------------------------------------------------
// Numbered console windows 0..255; one is current for output and colours.
// Opens window `number` with a client area of width x height pixels (negative:
// 400 x 300) at screen position x, y (negative: the system's choice) and makes
// it current. 0 opened; 1 it was open already (brought forward and made
// current, nothing else changes); 2 number not below 256; 3 the window or its
// bitmap could not be created.
int TAV_OpenTextWindow(int number, int x, int y, int width, int height);
// Brings the current text window forward, or opens window 0 mid-screen, 400 x 300.
void TAV_OpenDefaultTextWindow(void);
int TAV_CloseTextWindow(int number);  // 0 closed; 1 not below 256 or not open
int TAV_SelectTextWindow(int number); // 0 now current; 1 not below 256 or not open
// Formats into 4096 bytes (longer output is cut) and prints at the current
// window's cursor; nothing happens while the current window is not open.
void TAV_Printf(const char* format, ...);
// Saves the current colour pair on an 8-deep stack and sets a new one; pop restores.
void TAV_PushTextColor(uint32_t textColor, uint32_t backColor);
void TAV_PopTextColor(void);
// Reads one typed line (at least 256 bytes of buffer); empty when abandoned.
void TAV_InputLine(char* buffer);

// ---- Image table, display and zoom ------------------------------------------
// Images 0..255, each a pixel buffer shown in its own window at a zoom in
// percent. x, y place the window's outer corner (-1: the system's default);
// sizes below 1 become 1. Creation results: 0 created (and current), 1 number
// in use, 2 no zoom meets the window's size limits, 3 bad bits or no memory
// for the buffer, 4 number outside 0..255. The FL forms may grow up to twice
// the screen instead of staying on it.
int TAV_CreateImage(int number, const char* name, int x, int y, int width, int height, int zoom,
                    int bits = 32);
int TAV_CreateImageFL(int number, const char* name, int x, int y, int width, int height, int zoom);
int TAV_CreateImage8(int number, const char* name, int x, int y, int width, int height, int zoom);
int TAV_CreateImage8FL(int number, const char* name, int x, int y, int width, int height, int zoom);
int TAV_DestroyImage(int number);  // 0 destroyed; 1 bad number or free slot
// Recreates the image at a new size, keeping name, position, zoom, depth,
// colour table and stretching mode; the pixels become black. 0 done; 1 bad
// number or free slot; 2 or 3 as for creation (the number is then free).
int TAV_ResizeImage(int number, int width, int height);
int TAV_SelectImage(int number);   // 0 current now (the previous one is remembered); 1 refused
int TAV_RestoreImage(void);        // 0 the previously current image is current again; 1 refused
// Colour table of the current 8-bit image, RGBQUAD entries (blue, green, red,
// 0). 0 done; 1 no current image; 2 not an 8-bit image.
int TAV_SetColorTable(const void* entries, int count);
int TAV_GetColorTable(void* entries256);
// Block copies between the current image and a packed buffer (ColorWords or
// bytes, w a row). Reading gives 0 outside the image; writing starts at the
// top row and skips what falls outside.
void TAV_ReadImageBlock(void* buffer, int x, int y, int w, int h);
void TAV_WriteImageBlock(const void* buffer, int x, int w, int h);
int TAV_ShowImage(int number);     // copy to the window now; 0 done, 1 refused
// 0 resized; 1 refused; 2 no zoom meets the size limits (nothing changes).
int TAV_ZoomImage(int number, int zoom);
// Stretching mode 3 (nearest pixel) or 4 (half-tone: averaged, title ends in
// "*"). Other modes change nothing but still repaint. 0 done, 1 refused.
int TAV_SetStretchMode(int number, int mode);
int TAV_GetStretchMode(int number); // the mode, or 0 when refused
// What a user program may read of an image: its pixel buffer (laid out as the
// pixel operations address it: packed ColorWords, or bytes in rows padded to
// a multiple of 4) and where its window is. 0 filled in; 1 bad number or free slot.
struct TavImageInfo {
    void* pixels;
    int width, height, bits;
    int windowX, windowY; // outer top-left corner of the window on the screen
};
int TAV_GetImageInfo(int number, TavImageInfo* info);
int TAV_MoveImageWindow(int number, int x, int y); // keeps size and stacking; 0 done, 1 refused
int TAV_BringImageToFront(int number);             // 0 done, 1 refused

// ---- Image files and clipboard ----------------------------------------------
// Draws a picture file into the current image with its top-left corner at
// (x, y), at its own size; an 8-bit image first takes the picture's palette.
// 0 drawn; 1 no picture in the file; 2 no current image.
int TAV_LoadImage(const char* path, int x, int y);
// Saves the region (0, 0, width, height) of the current image as format 0 BMP,
// 1 JPEG, 2 GIF, 3 PNG or 4 TIFF, adding the format's extension unless the
// path ends in it. 0 written; 1 not written; 2 empty region; 3 no current image.
int TAV_SaveImage(int width, int height, int format, const char* path);
// File dialogs; `buffer` receives the chosen path (260 bytes). 0 chosen, 1 cancelled.
int TAV_OpenFileDialog(const char* title, char* buffer);
int TAV_SaveFileDialog(char* buffer);

// ---- Pixel access, colour models, drawing -----------------------------------
// Every operation acts on the current image (TAV_SelectImage). Coordinates are
// signed; any point outside the image (negative ones included) is ignored by
// the writers. On an 8-bit image only the low byte of a colour is stored.
// Nothing here repaints: call TAV_ShowImage when done.
void TAV_SetPixel(int x, int y, uint32_t color);   // also moves the pen to (x, y)
void TAV_PlotPixel(int x, int y, uint32_t color);  // leaves the pen alone
uint32_t TAV_GetPixel(int x, int y);               // 0 outside
int TAV_ProbePixel(int x, int y);                  // -1 outside
void TAV_XorPixel(int x, int y);                   // inverts the colour; moves the pen
void TAV_XorPlotPixel(int x, int y);               // inverts the colour; leaves the pen

// Hue 0..359 (0 for greys), saturation = max - min channel, value = max channel.
void TAV_RGBtoHSV(uint32_t color, int* hue, int* saturation, int* value);
int TAV_GetHue(uint32_t color);
int TAV_GetSaturation(uint32_t color);
int TAV_GetValue(uint32_t color);
uint32_t TAV_HSVtoRGB(int value, int saturation, int hue);
// Fixed-point luma and colour differences; Cr, Cb, u, v, I, Q are signed.
int TAV_RGBtoY(uint32_t color);
void TAV_RGBtoYCrCb(uint32_t color, int* y, int* cr, int* cb);
void TAV_RGBtoYuv(uint32_t color, int* y, int* u, int* v);
void TAV_RGBtoYIQ(uint32_t color, int* y, int* i, int* q);

// Shapes: both corners and both end points are inclusive. The Xor forms invert
// each pixel of the shape once, so drawing one twice restores the image.
void TAV_DrawLine(int x0, int y0, int x1, int y1, uint32_t color);
void TAV_XorLine(int x0, int y0, int x1, int y1);
void TAV_DrawRect(int x0, int y0, int x1, int y1);           // outline in DrawingColor
void TAV_XorRect(int x0, int y0, int x1, int y1);
void TAV_DrawBox(int x0, int y0, int x1, int y1, uint32_t border, uint32_t fill);
void TAV_XorFillBox(int x0, int y0, int x1, int y1);
void TAV_DrawCircle(int cx, int cy, int r, uint32_t color);
void TAV_XorCircle(int cx, int cy, int r);
void TAV_FillCircle(int cx, int cy, int r);                  // disk in DrawingColor
void TAV_XorFillCircle(int cx, int cy, int r);
void TAV_FloodFill(int x, int y);     // four-connected region of the seed's colour, in DrawingColor
void TAV_ClearImage(int number);      // every pixel of that image to 0

// 8 x 14 bitmap-font text in tav_tc at TextCursor, which it advances.
void TAV_DrawChar(int code);          // newline returns to the margin 16 rows lower
void TAV_DrawString(const char* text);
void TAV_DrawText(const char* format, ...);   // printf rules, cut at 4095 bytes

// ---- Button box -------------------------------------------------------------
// One box of nx x ny push buttons (at most 256), numbered row by row from 0.
void TAV_OpenButtonBox(int x, int y, int nx, int ny); // nothing when open or the shape is bad
void TAV_CloseButtonBox(void);
void TAV_SetButtonBoxTitle(int index, const char* caption); // caption of button index
void TAV_ResizeButtonBox(int width, int height);  // client size; the buttons fill it
int TAV_ButtonBoxCount(void);                      // buttons of the open box, 0 when none
// Clicks on button i not yet consumed, counted on the worker thread while it
// pumps messages. Keys 0..9 in the box count for buttons 0..9 even beyond the
// box's count; consume only indices below TAV_ButtonBoxCount().
extern int ButtonClicks[256];
// Consumes the clicks of button index: returns them and sets the counter to 0;
// returns 0 when no box is open or index is not one of its buttons.
int TAV_TakeButtonClicks(int index);

// ---- Input box --------------------------------------------------------------
int TAV_OpenInputBox(int x, int y, int items);
void TAV_CloseInputBox(void);

#endif
