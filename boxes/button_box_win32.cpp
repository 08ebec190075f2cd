// The button box: opening and closing it, button captions, resizing, and the
// click counters the user program consumes. Worker thread only.
#include <windows.h>

#include <cwchar>

#include "boxes/button_box_win32.h"
#include "shell/shell_win32.h"
#include "tavkit.h"

HWND ButtonBoxWindow;
SIZE ResizeWindowSize;

static const DWORD ButtonBoxStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

static bool IsOpenButton(int index)
{
    return ButtonBoxWindow && index >= 0 && index < ButtonCount;
}

static void CreateButtons(HWND box)
{
    for (int i = 0; i < ButtonCount; ++i) {
        int x, y;
        ButtonOrigin(i, NX, ButtonWidth, ButtonHeight, &x, &y);
        wchar_t caption[12];
        swprintf(caption, 12, L"%d", i);
        ButtonWindows[i] = CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_MULTILINE,
                                           x, y, ButtonWidth, ButtonHeight, box,
                                           (HMENU)(INT_PTR)(ButtonIdBase + i), ProgramInstance, nullptr);
        ButtonClicks[i] = 0;
    }
}

void TAV_OpenButtonBox(int x, int y, int nx, int ny)
{
    if (ButtonBoxWindow || !ButtonBoxShapeValid(nx, ny)) return;
    ButtonCount = nx * ny;
    NX = nx;
    NY = ny;
    RECT r = {0, 0, ButtonBoxClientLength(nx, ButtonWidth), ButtonBoxClientLength(ny, ButtonHeight)};
    AdjustWindowRect(&r, ButtonBoxStyle, FALSE);
    HWND box = CreateWindowExW(0, L"tav_bb", L"ButtonBox", ButtonBoxStyle, x, y, r.right - r.left,
                               r.bottom - r.top, MainWindow, nullptr, ProgramInstance, nullptr);
    if (!box) return;
    ButtonBoxWindow = box;
    ++ButtonBoxSerial;
    CreateButtons(box);
    UpdateWindow(box);
    SetForegroundWindow(box);
}

void TAV_CloseButtonBox(void)
{
    HWND box = ButtonBoxWindow;
    if (!box) return;
    // Forgotten first, so nothing the destruction sends reaches the old buttons.
    ButtonBoxWindow = nullptr;
    ForgetButtonBoxWindows();
    if (!DestroyWindow(box))
        MessageBoxW(MainWindow, L"DestroyWindow[BB] error", L"TAVKIT error!", MB_OK | MB_ICONERROR);
}

void TAV_SetButtonBoxTitle(int index, const char* caption)
{
    if (IsOpenButton(index)) SetWindowTextAnsi(ButtonHandle(index), caption);
}

void TAV_ResizeButtonBox(int width, int height)
{
    if (!ButtonBoxWindow || width < 0 || height < 0) return;
    RECT r = {0, 0, width, height};
    AdjustWindowRectEx(&r, (DWORD)GetWindowLongW(ButtonBoxWindow, GWL_STYLE), FALSE,
                       (DWORD)GetWindowLongW(ButtonBoxWindow, GWL_EXSTYLE));
    // The size message that follows lays the buttons out again.
    ResizeWindowSize = SIZE{r.right - r.left, r.bottom - r.top};
    SetWindowPos(ButtonBoxWindow, nullptr, 0, 0, ResizeWindowSize.cx, ResizeWindowSize.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ResizeWindowSize = SIZE{0, 0};
}

// A size asked for by TAV_ResizeButtonBox is taken even where the platform
// would not let the user drag the frame that far.
void OnButtonBoxMinMaxInfo(MINMAXINFO* info)
{
    if (ResizeWindowSize.cx == 0 && ResizeWindowSize.cy == 0) return;
    if (info->ptMinTrackSize.x > ResizeWindowSize.cx) info->ptMinTrackSize.x = ResizeWindowSize.cx;
    if (info->ptMinTrackSize.y > ResizeWindowSize.cy) info->ptMinTrackSize.y = ResizeWindowSize.cy;
    if (info->ptMaxTrackSize.x < ResizeWindowSize.cx) info->ptMaxTrackSize.x = ResizeWindowSize.cx;
    if (info->ptMaxTrackSize.y < ResizeWindowSize.cy) info->ptMaxTrackSize.y = ResizeWindowSize.cy;
}

void RelayoutButtons(int width, int height)
{
    if (NX <= 0 || NY <= 0) return;
    ButtonWidth = FitButtonLength(width, NX);
    ButtonHeight = FitButtonLength(height, NY);
    for (int i = 0; i < ButtonCount; ++i) {
        if (!ButtonWindows[i]) continue; // not created yet: the box itself is being created
        int x, y;
        ButtonOrigin(i, NX, ButtonWidth, ButtonHeight, &x, &y);
        SetWindowPos(ButtonHandle(i), nullptr, x, y, ButtonWidth, ButtonHeight, SWP_NOZORDER);
    }
}

int TAV_ButtonBoxCount(void)
{
    return ButtonBoxWindow ? ButtonCount : 0;
}

int TAV_TakeButtonClicks(int index)
{
    if (index < 0 || index >= TAV_ButtonBoxCount()) return 0;
    int clicks = ButtonClicks[index];
    ButtonClicks[index] = 0;
    return clicks;
}
