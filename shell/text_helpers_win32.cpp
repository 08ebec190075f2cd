// Narrow-text helpers at the window-system boundary: menus, window texts and
// the status line. Texts longer than the 256-character buffers are cut.
#include <windows.h>

#include <cstring>

#include "shell/shell_win32.h"
#include "tavkit.h"

void AnsiToWide(const char* text, wchar_t* out, int outChars)
{
    if (outChars <= 0) return;
    out[0] = 0;
    if (!text) return;
    // Convert a prefix that surely fits: each byte gives at most one UTF-16 unit.
    int len = (int)strnlen(text, (size_t)outChars - 1);
    int n = MultiByteToWideChar(CP_ACP, 0, text, len, out, outChars - 1);
    out[n > 0 ? n : 0] = 0;
}

void AddMenuItem(HMENU menu, int position, int state, int command, const char* text)
{
    wchar_t wide[WideTextChars];
    AnsiToWide(text, wide, WideTextChars);
    MENUITEMINFOW mi = {};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_FTYPE;
    mi.fType = MFT_STRING;
    mi.fState = (UINT)state;
    mi.wID = (UINT)command;
    mi.dwTypeData = wide;
    InsertMenuItemW(menu, (UINT)position, TRUE, &mi);
}

void AddMenuSeparator(HMENU menu, int position)
{
    MENUITEMINFOW mi = {};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE;
    mi.fType = MFT_SEPARATOR;
    InsertMenuItemW(menu, (UINT)position, TRUE, &mi);
}

void AddSubMenu(HMENU menu, HMENU submenu, int position, const char* text)
{
    wchar_t wide[WideTextChars];
    AnsiToWide(text, wide, WideTextChars);
    MENUITEMINFOW mi = {};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
    mi.fType = MFT_STRING;
    mi.hSubMenu = submenu;
    mi.dwTypeData = wide;
    InsertMenuItemW(menu, (UINT)position, TRUE, &mi);
}

void SetWindowTextAnsi(HWND window, const char* text)
{
    wchar_t wide[WideTextChars];
    AnsiToWide(text, wide, WideTextChars);
    SetWindowTextW(window, wide);
}

void GetWindowTextAnsi(HWND window, char* buffer, int size)
{
    if (size <= 0) return;
    buffer[0] = 0;
    wchar_t wide[WideTextChars];
    int chars = size < WideTextChars ? size : WideTextChars;
    int n = GetWindowTextW(window, wide, chars);
    if (n <= 0) return;
    char ansi[2 * WideTextChars + 1];
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide, n, ansi, 2 * WideTextChars, nullptr, nullptr);
    if (bytes <= 0) return;
    // Copy whole characters only: a double-byte character is never split.
    int k = 0;
    while (k < bytes) {
        int w = IsDBCSLeadByte((BYTE)ansi[k]) && k + 1 < bytes ? 2 : 1;
        if (k + w > size - 1) break;
        for (int i = 0; i < w; ++i) buffer[k + i] = ansi[k + i];
        k += w;
    }
    buffer[k] = 0;
}

void TAV_SetStatus(const char* text)
{
    char line[StatusLineBytes];
    FormatStatusLine(text ? text : "", line);
    SetWindowTextAnsi(StatusLine, line);
}
