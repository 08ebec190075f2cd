// The window procedure of image windows (class tav_iw): it only routes.
#include <windows.h>
#include <shellapi.h>

#include "image/image_win32.h"
#include "shell/shell_win32.h"
#include "tavkit.h"

static void PaintImageWindow(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    TAV_ShowImage(ImageFromWindow(window));
    EndPaint(window, &paint);
}

// Dragging the frame proposes a new size; the window keeps its own.
static void KeepWindowSize(HWND window, RECT* proposed) { GetWindowRect(window, proposed); }

LRESULT CALLBACK ImageWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_CREATE: return 0;
    case WM_DESTROY: return 0;
    case WM_MOVE: RebuildEdgeTable(); return 0;
    case WM_PAINT: PaintImageWindow(window); return 0;
    case WM_CLOSE: TAV_DestroyImage(ImageFromWindow(window)); return 0;
    case WM_SIZING: KeepWindowSize(window, (RECT*)lparam); return 0;
    case WM_MOVING: SnapMovingWindow(window, (RECT*)lparam); return 0;
    case WM_DROPFILES: DragFinish((HDROP)wparam); return 0; // loading a dropped file comes later
    }
    return DefWindowProcW(window, message, wparam, lparam);
}
