// Window-system side of the image table: size limits, titles, the display
// buffer and the window procedure of class tav_iw.
#ifndef TAV_IMAGE_WIN32_H
#define TAV_IMAGE_WIN32_H

#include <windows.h>

#include "image/image_fit.h"
#include "image/image_table.h"

// The four client-size limits of a limit mode, read from the system now:
// mode 1 keeps the window on one screen, mode 0 allows 1 .. twice the screen.
ClientSizeLimits GetClientSizeLimits(int limitMode);
// Double-byte lead bytes of the system code page, for cutting titles.
bool SystemLeadByte(unsigned char byte);
// Sets a stretching mode on one context and resets its brush origin.
void ApplyStretchMode(HDC dc, int mode);
// Formats the title of image `number` (in use) and sets it on its window.
void UpdateImageTitle(int number);
// Releases the half-tone display buffer of a slot, if it has one.
void FreeDisplayBuffer(int number);
LRESULT CALLBACK ImageWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

#endif
