// Commands, keys, popup menu and file drops of the main window (GUI thread).
#include <windows.h>

#include "shell/shell_win32.h"

static void StartUserProgram(void)
{
    if (UserProgramRunning.load() == 0) StartRequested.store(1);
}

static void StopUserProgram(void)
{
    StopRequested.store(1);
}

void OnMainCommand(HWND, int command)
{
    switch (command) {
    case CMD_START: StartUserProgram(); break;
    case CMD_EXIT: ExitProgram(); break;
    case CMD_STOP: StopUserProgram(); break;
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

void OnMainPopupMenu(HWND)
{
}

void OnMainDropFiles(HWND, HDROP drop)
{
    DragFinish(drop);
}
