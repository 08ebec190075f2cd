// The button box's window procedure and its handlers: clicks, keys, the two
// popup menus and the rename dialog. Worker thread only.
#include <windows.h>

#include "boxes/button_box_win32.h"
#include "shell/shell_win32.h"
#include "tavkit.h"

// ---- Popup menus -------------------------------------------------------------------

enum ButtonBoxPopup { FRAME_POPUP, CLIENT_POPUP };
struct PopupItem { int command; const char* text; };
static const PopupItem PopupItems[] = {
    {CMD_BB_DESTROY, "&Destroy\tCtrl+Q"}, // FRAME_POPUP: title bar and frame
    {CMD_BB_RENAME, "Rename"},            // CLIENT_POPUP: the gaps between the buttons
};

// Shows a one-item popup menu where the button went down; the chosen item
// arrives as a command message.
static void ShowButtonBoxPopup(HWND window, ButtonBoxPopup popup)
{
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    AddMenuItem(menu, 0, 0, PopupItems[popup].command, PopupItems[popup].text);
    DWORD pos = GetMessagePos();
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, (short)LOWORD(pos), (short)HIWORD(pos), 0, window, nullptr);
    DestroyMenu(menu);
}

// ---- Handlers -------------------------------------------------------------------------

static int CellAt(LPARAM lparam)
{
    return ButtonCellAt(LOWORD(lparam), HIWORD(lparam), NX, NY, ButtonWidth, ButtonHeight);
}

static void OnButtonBoxRightButton(HWND window, LPARAM lparam)
{
    RenameTarget = CellAt(lparam);
    ShowButtonBoxPopup(window, CLIENT_POPUP);
}

static void OnButtonBoxCommand(HWND window, WPARAM wparam)
{
    int button = ClickedButton(LOWORD(wparam), HIWORD(wparam), ButtonCount);
    if (button >= 0) {
        SetFocus(window); // digits and command keys reach the box again
        ++ButtonClicks[button];
    }
    switch (LOWORD(wparam)) {
    case CMD_BB_DESTROY: TAV_CloseButtonBox(); break;
    case CMD_BB_RENAME: RenameButton(RenameTarget); break;
    default: break;
    }
}

static void OnButtonBoxKeyDown(HWND window, WPARAM key, LPARAM lparam)
{
    bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    int digit = 0;
    switch (ClassifyButtonBoxKey((int)key, ctrl, &digit)) {
    case BBKEY_TO_MAIN:
        if (MainWindow) PostMessageW(MainWindow, WM_KEYDOWN, key, lparam);
        break;
    case BBKEY_COUNT_DIGIT: ++ButtonClicks[digit]; break;
    case BBKEY_CLOSE: PostMessageW(window, WM_CLOSE, 0, 0); break;
    case BBKEY_IGNORE: break;
    }
}

void RenameButton(int index)
{
    if (!ButtonBoxWindow || index < 0 || index >= ButtonCount) return;
    char caption[ButtonCaptionBytes];
    GetWindowTextAnsi(ButtonHandle(index), caption, ButtonCaptionBytes);
    int serial = ButtonBoxSerial;
    TAV_OpenDefaultTextWindow();
    TAV_Printf("%d '%s' ->", index, caption);
    char line[ButtonCaptionBytes] = ""; // stays empty when no text window takes the line
    TAV_InputLine(line);
    line[ButtonCaptionBytes - 1] = '\0';
    // The box may have closed, or closed and reopened, while the line was typed.
    bool sameBox = ButtonBoxWindow && serial == ButtonBoxSerial && index < ButtonCount;
    if (line[0] != '\0' && sameBox) SetWindowTextAnsi(ButtonHandle(index), line);
}

// ---- Window procedure -------------------------------------------------------------------

LRESULT CALLBACK ButtonBoxProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_DESTROY: return 0;
    case WM_MOVE: RebuildEdgeTable(); return 0;
    case WM_SIZE: RelayoutButtons(LOWORD(lparam), HIWORD(lparam)); return 0;
    case WM_CLOSE: TAV_CloseButtonBox(); return 0;
    case WM_NCRBUTTONDOWN: ShowButtonBoxPopup(window, FRAME_POPUP); return 0;
    // The box takes every key itself, or the dialog-message step of the pump
    // would turn Esc into a cancel command and it would never reach the main window.
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    case WM_KEYDOWN: OnButtonBoxKeyDown(window, wparam, lparam); return 0;
    case WM_COMMAND: OnButtonBoxCommand(window, wparam); return 0;
    case WM_LBUTTONDBLCLK: RenameButton(CellAt(lparam)); return 0;
    case WM_RBUTTONDOWN: OnButtonBoxRightButton(window, lparam); return 0;
    case WM_MOVING: SnapMovingWindow(window, (RECT*)lparam); return 0;
    case WM_GETMINMAXINFO: OnButtonBoxMinMaxInfo((MINMAXINFO*)lparam); return 0;
    default: return DefWindowProcW(window, message, wparam, lparam);
    }
}
