// The input box. Not built yet: opening it does nothing, so the dialog-message
// step of the worker's pump never sees a box.
#include <windows.h>

#include "shell/shell_win32.h"
#include "tavkit.h"

HWND InputBoxWindow;

int TAV_OpenInputBox(int, int, int) { return 1; }
void TAV_CloseInputBox(void) {}

LRESULT CALLBACK InputBoxProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefWindowProcW(window, message, wparam, lparam);
}
