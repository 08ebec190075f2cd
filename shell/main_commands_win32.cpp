// Commands, keys and popup menu of the main window (GUI thread).
#include <windows.h>

#include "console/line_input_state.h"
#include "shell/main_command_rules.h"
#include "shell/shell_win32.h"

// Handlers of the pictures and console dialogs the commands lead to.
void OnMainPaste(void);
void OnMainImageWindowDialog(void);
void OnMainInputBoxDialog(void);
void OnMainButtonBoxDialog(void);

enum { TextWindowCount = 256 };

static void StartUserProgram(void)
{
    if (UserProgramRunning.load() == 0) StartRequested.store(1);
}

static void StopUserProgram(void)
{
    StopRequested.store(1);
}

static void OpenFirstFreeTextWindow(void)
{
    for (int n = 0; n < TextWindowCount; ++n) {
        if (!TextWindowIsOpen(n)) {
            RequestOpenTextWindow(n);
            return;
        }
    }
}

// The report is produced by the current text window; text window 0 is opened
// first when the current one is not open.
static void PassWindowInfoToTextWindow(void)
{
    if (!TextWindowIsOpen(CurrentTextWindowNumber())) RequestOpenTextWindow(0);
    HWND target = TextWindowHandle(CurrentTextWindowNumber());
    if (target) PostMessageW(target, WM_COMMAND, CMD_WINDOWINFO, 0);
}

void OnMainCommand(HWND, int command)
{
    switch (command) {
    case CMD_START: StartUserProgram(); break;
    case CMD_EXIT: ExitProgram(); break;
    case CMD_STOP: StopUserProgram(); break;
    case CMD_PASTE: OnMainPaste(); break;
    case CMD_IMAGEWINDOW: OnMainImageWindowDialog(); break;
    case CMD_TEXTWINDOW: OpenFirstFreeTextWindow(); break;
    case CMD_INPUTBOX: OnMainInputBoxDialog(); break;
    case CMD_WINDOWINFO: PassWindowInfoToTextWindow(); break;
    case CMD_BUTTONBOX: OnMainButtonBoxDialog(); break;
    default: break;
    }
}

void OnMainKeyDown(HWND window, WPARAM key)
{
    bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (ctrl) {
        if (key == 'V') PostMessageW(window, WM_COMMAND, CMD_PASTE, 0);
        else if (key == 'W') PostMessageW(window, WM_COMMAND, CMD_WINDOWINFO, 0);
        return;
    }
    switch (key) {
    case 'X':
    case VK_ESCAPE: OnMainCommand(window, CMD_EXIT); break;
    case 'S': OnMainCommand(window, CMD_START); break;
    case 'C': OnMainCommand(window, CMD_STOP); break;
    default: break;
    }
}

// ---- Popup menu ------------------------------------------------------------------

struct MainPopupRow {
    const char* text; // nullptr: a separator
    int command;
    bool greyable;    // greyed while the user program runs or a line input waits
};

static const MainPopupRow MainPopupRows[] = {
    {"Paste\tCtrl+V", CMD_PASTE, true},
    {nullptr, 0, false},
    {"Start", CMD_START, true},
    {"Stop", CMD_STOP, false},
    {"E&xit", CMD_EXIT, false},
    {nullptr, 0, false},
    {"Image Window", CMD_IMAGEWINDOW, true},
    {"Text Window", CMD_TEXTWINDOW, true},
    {"Input Box", CMD_INPUTBOX, true},
    {"Button Box", CMD_BUTTONBOX, true},
    {nullptr, 0, false},
    {"&Window Info.\tCtrl+W", CMD_WINDOWINFO, true},
};

HMENU BuildMainPopupMenu(void)
{
    HMENU menu = CreatePopupMenu();
    if (!menu) return nullptr;
    int greyed = GreyableItemState(UserProgramRunning.load(), InputOwner.load());
    int position = 0;
    for (const MainPopupRow& row : MainPopupRows) {
        if (!row.text) AddMenuSeparator(menu, position);
        else AddMenuItem(menu, position, row.greyable ? greyed : 0, row.command, row.text);
        ++position;
    }
    return menu;
}

void OnMainPopupMenu(HWND window)
{
    DWORD at = GetMessagePos(); // where the pointer was when the button went down
    HMENU menu = BuildMainPopupMenu();
    if (!menu) return;
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, (short)LOWORD(at), (short)HIWORD(at), 0, window, nullptr);
    DestroyMenu(menu);
}
