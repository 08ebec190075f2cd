// The main window's procedure: it only routes messages to named handlers.
#include <windows.h>

#include "shell/shell_win32.h"

// Handlers of the main window's commands, keys, popup menu and drops.
void OnMainCommand(HWND window, int command);
void OnMainKeyDown(HWND window, WPARAM key);
void OnMainPopupMenu(HWND window);
void OnMainDropFiles(HWND window, HDROP drop);

static void RunDropInAnimation(HWND window)
{
    uint32_t t = TAV_GetTime();
    for (int step = 0; step < DropInSteps; ++step) {
        RECT r;
        GetWindowRect(window, &r);
        SetWindowPos(window, nullptr, r.left, r.top + DropInOffsets[step], 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        while (TAV_GetTime() - t < 20) { /* spin on the performance counter */ }
        t = TAV_GetTime();
    }
    while (TAV_GetTime() - t < 500) { }
}

static void OnMainCreate(HWND window)
{
    MainWindow = window;
    StatusLine = CreateWindowExW(0, L"STATIC", L"Ready", WS_CHILD | WS_VISIBLE, 0, 6, 234, 20,
                                 window, (HMENU)(INT_PTR)ID_STATUSLINE, ProgramInstance, nullptr);
    RunDropInAnimation(window);
    HDC dc = GetDC(window);
    ScreenBits = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(window, dc);
    WorkerThread = CreateThread(nullptr, 0, WorkerThreadMain, nullptr, 0, &WorkerThreadId);
}

// The frame cannot resize the main window: keep the current rectangle.
static void OnMainSizing(HWND window, RECT* proposed)
{
    GetWindowRect(window, proposed);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_CREATE: OnMainCreate(window); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_MOVE: RebuildEdgeTable(); return 0;
    case WM_SIZING: OnMainSizing(window, (RECT*)lparam); return 0;
    case WM_MOVING: SnapMovingWindow(window, (RECT*)lparam); return 0;
    case WM_RBUTTONDOWN:
    case WM_NCRBUTTONDOWN: OnMainPopupMenu(window); return 0;
    case WM_KEYDOWN: OnMainKeyDown(window, wparam); return 0;
    case WM_COMMAND: OnMainCommand(window, LOWORD(wparam)); return 0;
    case WM_DROPFILES: OnMainDropFiles(window, (HDROP)wparam); return 0;
    default: return DefWindowProcW(window, message, wparam, lparam);
    }
}
