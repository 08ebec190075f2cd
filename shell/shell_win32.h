// Window-system state and helpers of the application shell.
#ifndef TAV_SHELL_WIN32_H
#define TAV_SHELL_WIN32_H

#include <windows.h>
#include <shellapi.h>

#include "shell/shell_state.h"
#include "tavkit.h"

enum {
    CMD_START = 1001, CMD_EXIT = 1002, CMD_STOP = 1003,
    CMD_PASTE = 1026, CMD_IMAGEWINDOW = 1027, CMD_TEXTWINDOW = 1028,
    CMD_INPUTBOX = 1044, CMD_WINDOWINFO = 1045, CMD_BUTTONBOX = 1051,
    ID_STATUSLINE = 2001,
};

enum { DirectoryChars = 260 };

// ---- GUI thread state (written once by WinMain / the main window's creation) ----
extern int InstanceNumber;               // 0..9, first class name no running copy uses
extern wchar_t MainClassName[11];        // "tavkit_mw%d"
extern HINSTANCE ProgramInstance;
extern double MsPerTick;                 // 1000 / performance-counter frequency
extern int ScreenBits;                   // bits per pixel of the screen
extern HWND MainWindow;
extern HMENU MainMenuBar;
extern HWND StatusLine;
extern HANDLE WorkerThread;
extern DWORD WorkerThreadId;
extern HFONT TrueTypeFont;
extern wchar_t OpenDirectoryW[DirectoryChars]; extern char OpenDirectory[DirectoryChars];
extern wchar_t SaveDirectoryW[DirectoryChars]; extern char SaveDirectory[DirectoryChars];
extern wchar_t LogDirectoryW[DirectoryChars];  extern char LogDirectory[DirectoryChars];

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
bool RegisterWindowClasses(void); // the five classes, in order; false on the first failure
void ClearLibraryTables(void);    // image table, selection history, text window slots
DWORD WINAPI WorkerThreadMain(LPVOID);

// ---- Narrow-text helpers: ANSI (system code page) at the window-system boundary ----
enum { WideTextChars = 256 };
// Converts at most WideTextChars-1 characters; longer texts are cut.
void AnsiToWide(const char* text, wchar_t* out, int outChars);
void AddMenuItem(HMENU menu, int position, int state, int command, const char* text);
void AddMenuSeparator(HMENU menu, int position);
void AddSubMenu(HMENU menu, HMENU submenu, int position, const char* text);
void SetWindowTextAnsi(HWND window, const char* text);
void GetWindowTextAnsi(HWND window, char* buffer, int size);

// ---- Request channel, GUI side ------------------------------------------------------
void PumpGuiMessages(void);
int RequestCreateImage(int number, const char* title, int width, int height, int bits);
void RequestShowImage(int number);
int RequestLoadImage(int number, const char* path);
void RequestPasteBitmap(HBITMAP bitmap);
void RequestOpenTextWindow(int number);
void RequestOpenInputBox(int items);
void RequestOpenButtonBox(int columns, int rows);
void ExitProgram(void);   // the Exit sequence
bool QuitPending(void);   // a nested pump took the quit message and posted it again

// ---- Worker side ----------------------------------------------------------------------
bool ExecuteGuiRequest(int code, GuiRequestBlock& block);

// ---- Provided by other subsystems -----------------------------------------------------
void RebuildEdgeTable(void);
void SnapMovingWindow(HWND window, RECT* proposed);
void TAV_CloseAllLogs(void);
extern HWND InputBoxWindow;   // worker: the open input box, or 0
extern HWND ButtonBoxWindow;  // worker: the open button box, or 0
bool TextWindowIsOpen(int number);      // slot in use
void BringTextWindowForward(int number);
int CurrentTextWindowNumber(void);
HWND TextWindowHandle(int number);      // 0 when not open

#endif
