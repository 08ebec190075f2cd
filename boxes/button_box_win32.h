// Operations the button box's window procedure shares with its open and close code.
#ifndef TAV_BUTTON_BOX_WIN32_H
#define TAV_BUTTON_BOX_WIN32_H

#include <windows.h>

#include "boxes/button_box_layout.h"

inline HWND ButtonHandle(int index) { return (HWND)ButtonWindows[index]; }
// Fits the buttons into a client area of width x height (size message).
void RelayoutButtons(int width, int height);
// Outer window size TAV_ResizeButtonBox is setting; 0 x 0 otherwise. The
// platform's minimum and maximum tracking sizes give way to it.
extern SIZE ResizeWindowSize;
void OnButtonBoxMinMaxInfo(MINMAXINFO* info);
// Console dialog that renames button index.
void RenameButton(int index);
LRESULT CALLBACK ButtonBoxProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

#endif
