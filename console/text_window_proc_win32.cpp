// The window procedure of the text windows (class tav_twi): it only routes.
#include <windows.h>

#include "console/text_window_win32.h"
#include "shell/shell_win32.h"

LRESULT CALLBACK TextWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_CREATE:
    case WM_DESTROY: return 0;
    case WM_MOVE: RebuildEdgeTable(); return 0;
    case WM_MOVING: SnapMovingWindow(window, (RECT*)lparam); return 0;
    case WM_SIZE: ResizeTextWindow(window, LOWORD(lparam), HIWORD(lparam)); return 0;
    case WM_PAINT: RepaintTextWindow(window); return 0;
    case WM_CLOSE: CloseTextWindowOf(window); return 0;
    default: return DefWindowProcW(window, message, wparam, lparam);
    }
}
