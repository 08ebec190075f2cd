// Text windows on the window system: opening, closing, selecting, finding,
// and the backing bitmap behind each window (created, repainted from,
// recreated on resize). Windows are created and destroyed on the worker thread.
#include <windows.h>

#include <cwchar>

#include "console/line_input_state.h"
#include "console/text_window_win32.h"
#include "shell/shell_win32.h"
#include "tavkit.h"

typedef std::lock_guard<std::mutex> TableGuard;

enum { TextWindowStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME }; // 0x10CC0000
enum { DefaultTextWidth = 400, DefaultTextHeight = 300 };
enum { TitleChars = 32 };

// ---- Backing bitmap --------------------------------------------------------------

void ApplyTextColors(TextWindowSlot& slot)
{
    HDC dc = (HDC)slot.memoryDC;
    if (!dc) return;
    SetTextColor(dc, ColorWordToColorRef(slot.textColor));
    SetBkColor(dc, ColorWordToColorRef(slot.backColor));
}

// Puts back what the memory context held and frees the bitmap and both
// contexts, in the reverse order of AcquireSurface. Lock held.
static void ReleaseSurface(TextWindowSlot& slot)
{
    HDC memoryDC = (HDC)slot.memoryDC;
    if (memoryDC) {
        SelectObject(memoryDC, (HBITMAP)slot.previousBitmap);
        DeleteObject((HBITMAP)slot.bitmap);
        DeleteDC(memoryDC);
    }
    if (slot.windowDC) ReleaseDC((HWND)slot.window, (HDC)slot.windowDC);
    slot.memoryDC = slot.windowDC = slot.bitmap = slot.previousBitmap = nullptr;
}

// Gets the window's context and a memory context holding a black bitmap of
// the slot's size, the black brush and the OEM fixed font. On failure nothing
// stays acquired and the slot has no surface. Lock held.
static bool AcquireSurface(TextWindowSlot& slot, HWND window)
{
    slot.window = window;
    slot.memoryDC = slot.windowDC = slot.bitmap = slot.previousBitmap = nullptr;
    HDC windowDC = GetDC(window);
    if (!windowDC) return false;
    HDC memoryDC = CreateCompatibleDC(windowDC);
    HBITMAP bitmap = memoryDC ? CreateCompatibleBitmap(windowDC, slot.width, slot.height) : nullptr;
    if (!bitmap) {
        if (memoryDC) DeleteDC(memoryDC);
        ReleaseDC(window, windowDC);
        return false;
    }
    SelectObject(memoryDC, GetStockObject(BLACK_BRUSH));
    SelectObject(memoryDC, GetStockObject(OEM_FIXED_FONT));
    slot.previousBitmap = SelectObject(memoryDC, bitmap);
    PatBlt(memoryDC, 0, 0, slot.width, slot.height, PATCOPY);
    slot.windowDC = windowDC;
    slot.memoryDC = memoryDC;
    slot.bitmap = bitmap;
    ApplyTextColors(slot);
    return true;
}

// Cell width and line height of the window font.
static void ReadCellSize(TextWindowSlot& slot)
{
    TEXTMETRICW tm = {};
    GetTextMetricsW((HDC)slot.memoryDC, &tm);
    slot.cellWidth = tm.tmAveCharWidth;
    slot.lineHeight = tm.tmHeight;
}

static int FindSlotLocked(HWND window)
{
    for (int n = 0; n < TextWindowCount; ++n)
        if (TextWindowTable[n].inUse && TextWindowTable[n].window == window) return n;
    return -1;
}

int FindTextWindow(HWND window)
{
    TableGuard guard(TextWindowLock);
    return FindSlotLocked(window);
}

void RepaintTextWindow(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    {
        TableGuard guard(TextWindowLock);
        int n = FindSlotLocked(window);
        if (n >= 0 && TextWindowTable[n].memoryDC) {
            const RECT& r = ps.rcPaint;
            BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, (HDC)TextWindowTable[n].memoryDC,
                   r.left, r.top, SRCCOPY);
        }
    }
    EndPaint(window, &ps);
}

// A new client size clears the window: the bitmap is made anew, black, and
// the cursor goes to the top left. Sizes during creation (before the slot is
// filled) are ignored.
void ResizeTextWindow(HWND window, int width, int height)
{
    {
        TableGuard guard(TextWindowLock);
        int n = FindSlotLocked(window);
        if (n < 0) return;
        TextWindowSlot& slot = TextWindowTable[n];
        ReleaseSurface(slot);
        slot.width = width;
        slot.height = height;
        AcquireSurface(slot, window); // on failure the window shows nothing and output only moves the cursor
        slot.cursorX = slot.cursorY = 0;
    }
    RebuildEdgeTable();
    InvalidateRect(window, nullptr, FALSE);
}

// ---- Opening and closing --------------------------------------------------------

static HWND CreateTextWindowFrame(int number, int x, int y, int width, int height)
{
    wchar_t title[TitleChars];
    swprintf(title, TitleChars, L"TextWindow %d", number);
    RECT r = {0, 0, width, height};
    AdjustWindowRect(&r, TextWindowStyle, FALSE);
    // With a default x the system reads y as a show command, so a default
    // position takes both coordinates from the system.
    if (x < 0 || y < 0) x = y = CW_USEDEFAULT;
    return CreateWindowExW(0, L"tav_twi", title, TextWindowStyle, x, y, r.right - r.left, r.bottom - r.top,
                           MainWindow, nullptr, ProgramInstance, nullptr);
}

int TAV_OpenTextWindow(int number, int x, int y, int width, int height)
{
    if ((unsigned)number >= TextWindowCount) return 2;
    if (width < 0) width = DefaultTextWidth;
    if (height < 0) height = DefaultTextHeight;
    TextWindowSlot& slot = TextWindowTable[number];
    HWND open = nullptr;
    {
        TableGuard guard(TextWindowLock);
        CurrentTextWindow = number;
        if (slot.inUse) {
            open = (HWND)slot.window;
        } else {
            slot.width = width;
            slot.height = height;
            ResetTextColors(slot);
        }
    }
    if (open) {
        SetForegroundWindow(open);
        return 1;
    }
    // Created outside the lock: creation sends messages to the new window.
    HWND window = CreateTextWindowFrame(number, x, y, width, height);
    if (!window) return 3;
    bool ready;
    {
        TableGuard guard(TextWindowLock);
        ready = AcquireSurface(slot, window);
        if (ready) {
            slot.cursorX = slot.cursorY = 0;
            ReadCellSize(slot);
            slot.logState = 0;
            slot.inUse = 1;
        }
    }
    if (!ready) {
        DestroyWindow(window);
        return 3;
    }
    RebuildEdgeTable();
    UpdateWindow(window);
    SetForegroundWindow(window);
    return 0;
}

void TAV_OpenDefaultTextWindow(void)
{
    HWND open = nullptr;
    {
        TableGuard guard(TextWindowLock);
        if (TextWindowInUse(CurrentTextWindow)) open = (HWND)TextWindowTable[CurrentTextWindow].window;
    }
    if (open) {
        SetForegroundWindow(open);
        return;
    }
    int x = GetSystemMetrics(SM_CXFULLSCREEN) / 2 - DefaultTextWidth / 2;
    int y = GetSystemMetrics(SM_CYFULLSCREEN) / 2 - DefaultTextHeight / 2;
    TAV_OpenTextWindow(0, x, y, DefaultTextWidth, DefaultTextHeight);
}

int TAV_CloseTextWindow(int number)
{
    HWND window;
    {
        TableGuard guard(TextWindowLock);
        if (!TextWindowInUse(number)) return 1;
        TextWindowSlot& slot = TextWindowTable[number];
        slot.inUse = 0;
        if (CurrentTextWindow == number) {
            int lowest = LowestOpenTextWindow();
            if (lowest >= 0) CurrentTextWindow = lowest;
        }
        int owner = number + 1;
        InputOwner.compare_exchange_strong(owner, 0); // a pending line input ends empty
        ReleaseSurface(slot);
        window = (HWND)slot.window;
    }
    DestroyWindow(window);
    return 0;
}

void CloseTextWindowOf(HWND window)
{
    int n = FindTextWindow(window);
    if (n >= 0) TAV_CloseTextWindow(n);
}

int TAV_SelectTextWindow(int number)
{
    TableGuard guard(TextWindowLock);
    if (!TextWindowInUse(number)) return 1;
    CurrentTextWindow = number;
    return 0;
}

// ---- Questions of the shell (either thread) ---------------------------------------

bool TextWindowIsOpen(int number)
{
    TableGuard guard(TextWindowLock);
    return TextWindowInUse(number);
}

HWND TextWindowHandle(int number)
{
    TableGuard guard(TextWindowLock);
    return TextWindowInUse(number) ? (HWND)TextWindowTable[number].window : nullptr;
}

int CurrentTextWindowNumber(void)
{
    TableGuard guard(TextWindowLock);
    return CurrentTextWindow;
}

void BringTextWindowForward(int number)
{
    HWND window = TextWindowHandle(number);
    if (window) SetForegroundWindow(window);
}
