// Placeholder until the button box lands: opening it does nothing.
#include <windows.h>

#include "shell/shell_win32.h"
#include "tavkit.h"

HWND ButtonBoxWindow;

void TAV_OpenButtonBox(int, int, int, int) {}
void TAV_CloseButtonBox(void) {}

LRESULT CALLBACK ButtonBoxProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefWindowProcW(window, message, wparam, lparam);
}
