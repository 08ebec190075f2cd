// Output into text windows: formatted printing, single cells and the caret,
// scrolling and the colour stack. Runs on whichever thread prints; every step
// on a slot and its bitmap is taken under TextWindowLock, and the window is
// invalidated and messages pumped only after the lock is let go.
#include <windows.h>

#include <cstdarg>
#include <cstring>

#include "console/text_layout.h"
#include "console/text_window_win32.h"
#include "shell/shell_win32.h"
#include "tavkit.h"

typedef std::lock_guard<std::mutex> TableGuard;

// The slot being drawn into and the UTF-16 text its runs index.
struct SlotSurface {
    TextWindowSlot* slot;
    const wchar_t* text;
};

// One text call for a run, each character placed on its cells so the picture
// keeps to the cell grid whatever advance the font gives a glyph.
static void DrawTextRun(TextWindowSlot& slot, const wchar_t* text, int count, int x, int y)
{
    if (!slot.memoryDC || count <= 0) return;
    if (count > WideTextUnits) count = WideTextUnits;
    int advances[WideTextUnits];
    for (int i = 0; i < count; ++i) advances[i] = CellsOf((uint32_t)text[i]) * slot.cellWidth;
    ExtTextOutW((HDC)slot.memoryDC, x, y, 0, nullptr, text, (UINT)count, advances);
}

static void DrawRunOnSlot(void* context, int start, int count, int x, int y)
{
    SlotSurface* s = static_cast<SlotSurface*>(context);
    DrawTextRun(*s->slot, s->text + start, count, x, y);
}

static void ScrollSlotUp(void* context, int fromY, int copyHeight, int clearFromY)
{
    TextWindowSlot& slot = *static_cast<SlotSurface*>(context)->slot;
    HDC dc = (HDC)slot.memoryDC;
    if (!dc) return;
    if (copyHeight > 0) BitBlt(dc, 0, 0, slot.width, copyHeight, dc, 0, fromY, SRCCOPY);
    PatBlt(dc, 0, clearFromY, slot.width, slot.height - clearFromY, PATCOPY); // black brush
}

static TextSurface SurfaceOf(SlotSurface& s)
{
    TextSurface surface = {&s, DrawRunOnSlot, ScrollSlotUp};
    return surface;
}

void TAV_Printf(const char* format, ...)
{
    char text[FormatBufferBytes];
    va_list args;
    va_start(args, format);
    int length = FormatBounded(text, FormatBufferBytes, format, args);
    va_end(args);

    wchar_t wide[WideTextUnits];
    HWND window;
    {
        TableGuard guard(TextWindowLock);
        if (!TextWindowInUse(CurrentTextWindow)) return;
        TextWindowSlot& slot = TextWindowTable[CurrentTextWindow];
        if (slot.logState == 1 && slot.logFile) fputs(text, slot.logFile);
        int units = length > 0 ? MultiByteToWideChar(CP_ACP, 0, text, length, wide, WideTextUnits - 1) : 0;
        SlotSurface s = {&slot, wide};
        LayOutText(slot, wide, units, SurfaceOf(s));
        window = (HWND)slot.window;
    }
    InvalidateRect(window, nullptr, FALSE);
    TAV_ProcessMessages();
}

int ScrollIfFull(int number)
{
    TableGuard guard(TextWindowLock);
    if (!TextWindowInUse(number)) return 0;
    SlotSurface s = {&TextWindowTable[number], nullptr};
    return ScrollIfFullRule(TextWindowTable[number], SurfaceOf(s));
}

void DrawCell(wchar_t character, int x, int y, int cells)
{
    HWND window;
    RECT cell;
    {
        TableGuard guard(TextWindowLock);
        if (!TextWindowInUse(CurrentTextWindow)) return;
        TextWindowSlot& slot = TextWindowTable[CurrentTextWindow];
        if (slot.memoryDC) {
            int advance = cells * slot.cellWidth;
            ExtTextOutW((HDC)slot.memoryDC, x, y, 0, nullptr, &character, 1, &advance);
        }
        cell = {x, y, x + cells * slot.cellWidth, y + slot.lineHeight};
        window = (HWND)slot.window;
    }
    InvalidateRect(window, &cell, FALSE);
}

void DrawCaret(int phase)
{
    int x, y;
    {
        TableGuard guard(TextWindowLock);
        if (!TextWindowInUse(CurrentTextWindow)) return;
        x = TextWindowTable[CurrentTextWindow].cursorX;
        y = TextWindowTable[CurrentTextWindow].cursorY;
    }
    DrawCell(phase ? L'_' : L' ', x, y, 1);
}

void TAV_PushTextColor(uint32_t textColor, uint32_t backColor)
{
    TableGuard guard(TextWindowLock);
    if (!TextWindowInUse(CurrentTextWindow)) return;
    PushTextColors(TextWindowTable[CurrentTextWindow], textColor, backColor);
    ApplyTextColors(TextWindowTable[CurrentTextWindow]);
}

void TAV_PopTextColor(void)
{
    TableGuard guard(TextWindowLock);
    if (!TextWindowInUse(CurrentTextWindow)) return;
    PopTextColors(TextWindowTable[CurrentTextWindow]);
    ApplyTextColors(TextWindowTable[CurrentTextWindow]);
}
