// Placeholder until text windows land: no window ever opens, output is dropped.
#include <windows.h>

#include "shell/shell_win32.h"
#include "tavkit.h"

void ClearTextWindowTable(void) {}
bool TextWindowIsOpen(int) { return false; }
void BringTextWindowForward(int) {}
int CurrentTextWindowNumber(void) { return 0; }
HWND TextWindowHandle(int) { return nullptr; }
int TAV_OpenTextWindow(int, int, int, int, int) { return 0; }
void TAV_Printf(const char*, ...) {}
void TAV_OpenDefaultTextWindow(void) {}

LRESULT CALLBACK TextWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefWindowProcW(window, message, wparam, lparam);
}
