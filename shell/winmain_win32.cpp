// Program entry on the GUI thread: instance limit, start-up, message loop,
// shutdown.
#include <windows.h>
#include <gdiplus.h>

#include <cstdio>

#include "console/line_input_state.h"
#include "imageops/drawing_state.h"
#include "shell/shell_win32.h"

int InstanceNumber;
wchar_t MainClassName[11];
HINSTANCE ProgramInstance;
double MsPerTick = 1.0;
int ScreenBits;
HWND MainWindow;
HMENU MainMenuBar;
HWND StatusLine;
HANDLE WorkerThread;
DWORD WorkerThreadId;
HFONT TrueTypeFont;
wchar_t OpenDirectoryW[DirectoryChars]; char OpenDirectory[DirectoryChars];
wchar_t SaveDirectoryW[DirectoryChars]; char SaveDirectory[DirectoryChars];
wchar_t LogDirectoryW[DirectoryChars];  char LogDirectory[DirectoryChars];

void ClearImageTable(void);      // in-use flags, current image, selection history
void ClearTextWindowTable(void); // in-use flags

void ClearLibraryTables(void)
{
    ClearImageTable();
    ClearTextWindowTable();
}

static const wchar_t* const ProgramTitle = L"TAVKIT " TEXT(TAV_VERSION);

// Returns the first free copy number, or -1 when ten copies run.
static int FindFreeInstance(void)
{
    for (int i = 0; i < 10; ++i) {
        wchar_t name[11];
        swprintf(name, 11, L"tavkit_mw%d", i);
        if (!FindWindowW(name, nullptr)) return i;
    }
    return -1;
}

static void ReadDirectory(wchar_t* wide, char* ansi, bool withBackslash)
{
    DWORD n = GetCurrentDirectoryW(DirectoryChars, wide);
    if (n == 0 || n >= DirectoryChars) wide[0] = 0;
    if (withBackslash) EnsureTrailingBackslash(wide, DirectoryChars);
    if (!WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, DirectoryChars, nullptr, nullptr)) ansi[0] = 0;
}

bool RegisterWindowClasses(void)
{
    struct ClassRow { const wchar_t* name; WNDPROC proc; UINT style; HBRUSH background; };
    HBRUSH face = (HBRUSH)(COLOR_BTNFACE + 1);
    HBRUSH black = (HBRUSH)GetStockObject(BLACK_BRUSH);
    extern LRESULT CALLBACK ImageWindowProc(HWND, UINT, WPARAM, LPARAM);
    extern LRESULT CALLBACK TextWindowProc(HWND, UINT, WPARAM, LPARAM);
    extern LRESULT CALLBACK InputBoxProc(HWND, UINT, WPARAM, LPARAM);
    extern LRESULT CALLBACK ButtonBoxProc(HWND, UINT, WPARAM, LPARAM);
    const ClassRow rows[] = {
        {MainClassName, MainWindowProc, CS_CLASSDC, face},
        {L"tav_iw", ImageWindowProc, CS_OWNDC, black},
        {L"tav_twi", TextWindowProc, CS_OWNDC, black},
        {L"tav_ib", InputBoxProc, CS_OWNDC | CS_DBLCLKS, face},
        {L"tav_bb", ButtonBoxProc, CS_OWNDC | CS_DBLCLKS, face},
    };
    for (const ClassRow& r : rows) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        wc.style = r.style;
        wc.lpfnWndProc = r.proc;
        wc.hInstance = ProgramInstance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = r.background;
        wc.lpszClassName = r.name;
        if (!RegisterClassExW(&wc)) return false;
    }
    return true;
}

static HWND CreateMainWindow(void)
{
    int fullWidth = GetSystemMetrics(SM_CXFULLSCREEN);
    int fullHeight = GetSystemMetrics(SM_CYFULLSCREEN);
    MainMenuBar = CreateMenu();
    AddMenuItem(MainMenuBar, 0, 0, CMD_START, "Start(&S)");
    AddMenuItem(MainMenuBar, 1, 0, CMD_STOP, "Stop(&C)");
    AddMenuItem(MainMenuBar, 2, 0, CMD_EXIT, "Exit(&X)");
    const DWORD style = WS_VISIBLE | WS_CAPTION | WS_THICKFRAME;
    RECT r = {0, 0, 240, GetSystemMetrics(SM_CYMENU) + 32};
    AdjustWindowRect(&r, style, FALSE);
    int width = r.right - r.left, height = r.bottom - r.top;
    int x = (fullWidth - width) / 2;
    int y = fullHeight + GetSystemMetrics(SM_CYCAPTION) - height - 55;
    return CreateWindowExW(0, MainClassName, ProgramTitle, style, x, y, width, height,
                           nullptr, MainMenuBar, ProgramInstance, nullptr);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InstanceNumber = FindFreeInstance();
    if (InstanceNumber < 0) {
        MessageBoxW(nullptr, L"Over instance limit!", L"TAVKIT", MB_OK);
        return 1;
    }
    swprintf(MainClassName, 11, L"tavkit_mw%d", InstanceNumber);

    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartupInput gdiplusInput; // version 1, no debug hook, background thread on
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    MsPerTick = 1000.0 / (double)frequency.QuadPart;

    ClearLibraryTables();
    ProgramInstance = instance;
    ReadDirectory(OpenDirectoryW, OpenDirectory, false);
    ReadDirectory(SaveDirectoryW, SaveDirectory, false);
    ReadDirectory(LogDirectoryW, LogDirectory, true);
    LastInputLine[0] = 0;

    if (!RegisterWindowClasses()) {
        Gdiplus::GdiplusShutdown(gdiplusToken);
        return 1;
    }

    // The worker starts inside the main window's creation and may draw text at
    // once, so the drawing state and the TrueType font are ready before that.
    TrueTypeFont = CreateFontW(16, 8, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, L"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF");
    tav_tttc = 0xFFFFFF;
    TextCursor = TavTextCursor{0, 0, 0};

    MainWindow = CreateMainWindow();
    if (!MainWindow) {
        DeleteObject(TrueTypeFont);
        DestroyMenu(MainMenuBar);
        Gdiplus::GdiplusShutdown(gdiplusToken);
        return 1;
    }
    char status[16];
    snprintf(status, sizeof status, "%d-bit color", ScreenBits);
    TAV_SetStatus(status);
    DragAcceptFiles(MainWindow, TRUE);
    UpdateWindow(MainWindow);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }

    DeleteObject(TrueTypeFont);
    if (IsMenu(MainMenuBar)) DestroyMenu(MainMenuBar); // normally gone with the main window
    Gdiplus::GdiplusShutdown(gdiplusToken);
    return 0;
}
