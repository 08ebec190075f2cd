// Window-system side of the text windows, shared by the console's *_win32.cpp files.
#ifndef TAV_TEXT_WINDOW_WIN32_H
#define TAV_TEXT_WINDOW_WIN32_H

#include <windows.h>

#include "console/text_window_table.h"

// Number of the open text window with this handle; -1 if none.
int FindTextWindow(HWND window);
// Scrolls window `number` up one line when its next line would not fit; 1 if it did.
int ScrollIfFull(int number);
// Draws one character `cells` cells wide at (x, y) of the current window and
// invalidates those cells.
void DrawCell(wchar_t character, int x, int y, int cells);
// Draws the caret (phase 1: underscore, 0: space) at the current window's cursor.
void DrawCaret(int phase);

// Message handlers of TextWindowProc.
void RepaintTextWindow(HWND window);                        // WM_PAINT
void ResizeTextWindow(HWND window, int width, int height);  // WM_SIZE
void CloseTextWindowOf(HWND window);                        // WM_CLOSE
LRESULT CALLBACK TextWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Hands the slot's colours to its memory context. Lock held.
void ApplyTextColors(TextWindowSlot& slot);

#endif
