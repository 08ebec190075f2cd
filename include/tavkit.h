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

// Run control, written by the library; long-running user code polls these and
// returns from TAV_Main once either is non-zero.
extern std::atomic<int> StopRequested; // 1 after Stop or Exit; cleared around each TAV_Main
extern std::atomic<int> ExitState;     // 0 running, 1 exit requested, 2 worker finished

// ---- Text windows -----------------------------------------------------------
int TAV_OpenTextWindow(int number, int x, int y, int width, int height);
void TAV_Printf(const char* format, ...);
int TAV_InputLine(char* buffer); // one line typed into the current text window

// ---- Image table, display and zoom ------------------------------------------
int TAV_CreateImage(int number, const char* name, int x, int y, int width, int height, int zoom,
                    int bits = 32);
int TAV_SelectImage(int number);
int TAV_RestoreImage(void);
int TAV_ShowImage(int number);

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

// ---- Button box -------------------------------------------------------------
void TAV_OpenButtonBox(int x, int y, int nx, int ny);
void TAV_CloseButtonBox(void);

// ---- Input box --------------------------------------------------------------
int TAV_OpenInputBox(int x, int y, int items);
void TAV_CloseInputBox(void);

#endif
