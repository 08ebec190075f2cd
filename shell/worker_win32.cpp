// The worker thread, the GUI request channel's platform side, the message
// pumps, the clock, the pause box and the Exit sequence.
#include <windows.h>

#include "console/line_input_state.h"
#include "shell/shell_win32.h"
#include "tavkit.h"

void PasteBitmapToCurrentImage(HBITMAP bitmap);

// ---- Message pumps --------------------------------------------------------------

static std::atomic<int> QuitSeen{0}; // GUI thread: a nested pump took WM_QUIT

bool QuitPending(void) { return QuitSeen.load() != 0; }

// Takes one waiting message; false when the queue is empty. A quit message
// taken by a nested pump goes back into the queue for the main loop, and the
// pump stops so it does not take it again.
static bool TakeMessage(MSG* msg)
{
    if (QuitSeen.load() && GetCurrentThreadId() != WorkerThreadId) return false;
    if (!PeekMessageW(msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg->message == WM_QUIT) {
        QuitSeen.store(1);
        PostQuitMessage((int)msg->wParam);
        return false;
    }
    return true;
}

void PumpGuiMessages(void)
{
    MSG msg;
    while (TakeMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void TAV_ProcessMessages(void)
{
    MSG msg;
    while (TakeMessage(&msg)) {
        if (InputBoxWindow && IsDialogMessageW(InputBoxWindow, &msg)) continue;
        if (ButtonBoxWindow && IsDialogMessageW(ButtonBoxWindow, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// ---- Clock and pause box ----------------------------------------------------------

uint32_t TAV_GetTime(void)
{
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return CounterToMs(count.QuadPart, MsPerTick);
}

void TAV_Pause(const char* text)
{
    wchar_t wide[WideTextChars];
    AnsiToWide(text, wide, WideTextChars);
    MessageBoxW(nullptr, wide, L"Pause", MB_OK);
}

// ---- Worker thread ----------------------------------------------------------------

bool ExecuteGuiRequest(int code, GuiRequestBlock& b)
{
    switch (code) {
    case GUIREQ_CREATEIMAGE:
        b.result = (unsigned)b.number >= 256
                       ? 4
                       : TAV_CreateImage(b.number, b.title, b.x, b.y, b.width, b.height, b.zoom, b.bits);
        return true;
    case GUIREQ_SHOWIMAGE: TAV_ShowImage(b.number); return true;
    case GUIREQ_LOADIMAGE:
        TAV_SelectImage(b.number);
        b.result = TAV_LoadImage(b.path, b.x, b.y);
        TAV_RestoreImage();
        return true;
    case GUIREQ_PASTEBITMAP: PasteBitmapToCurrentImage((HBITMAP)b.bitmap); return true;
    case GUIREQ_OPENTEXTWINDOW:
        if ((unsigned)b.number < 256) TAV_OpenTextWindow(b.number, b.x, b.y, b.width, b.height);
        return true;
    case GUIREQ_OPENINPUTBOX:
        if (InputBoxWindow) TAV_CloseInputBox();
        TAV_OpenInputBox(b.x, b.y, b.number);
        return true;
    case GUIREQ_OPENBUTTONBOX:
        TAV_CloseButtonBox();
        TAV_OpenButtonBox(b.x, b.y, b.width, b.height);
        return true;
    default: return false;
    }
}

static void SleepOneMs(void) { Sleep(1); }
static void ServePendingRequest(void) { ServeGuiRequest(ExecuteGuiRequest); }
static void AcceptDrops(bool on) { DragAcceptFiles(MainWindow, on ? TRUE : FALSE); }

DWORD WINAPI WorkerThreadMain(LPVOID)
{
    WorkerPlatform p;
    p.setup = TAV_Setup;
    p.main = TAV_Main;
    p.afterSetup = RebuildEdgeTable;
    p.sleepOneMs = SleepOneMs;
    p.processMessages = TAV_ProcessMessages;
    p.serveRequest = ServePendingRequest;
    p.acceptDrops = AcceptDrops;
    return (DWORD)RunWorkerLoop(p);
}

// ---- Request wrappers (GUI thread) -------------------------------------------------

static GuiRequestBlock EmptyBlock(void)
{
    GuiRequestBlock b = {};
    return b;
}

int RequestCreateImage(int number, const char* title, int width, int height, int bits)
{
    GuiRequestBlock b = EmptyBlock();
    b.number = number; b.title = title; b.x = -1; b.y = -1;
    b.width = width; b.height = height; b.bits = bits; b.zoom = 100;
    return PostGuiRequest(GUIREQ_CREATEIMAGE, b, true, PumpGuiMessages);
}

void RequestShowImage(int number)
{
    GuiRequestBlock b = EmptyBlock();
    b.number = number;
    PostGuiRequest(GUIREQ_SHOWIMAGE, b, false, PumpGuiMessages);
}

int RequestLoadImage(int number, const char* path)
{
    GuiRequestBlock b = EmptyBlock();
    b.number = number; b.path = path; b.x = 0; b.y = 0;
    return PostGuiRequest(GUIREQ_LOADIMAGE, b, true, PumpGuiMessages);
}

void RequestPasteBitmap(HBITMAP bitmap)
{
    GuiRequestBlock b = EmptyBlock();
    b.bitmap = bitmap;
    // When no worker is left to take it, the bitmap is still ours to free.
    if (PostGuiRequest(GUIREQ_PASTEBITMAP, b, true, PumpGuiMessages) < 0) DeleteObject(bitmap);
}

void RequestOpenTextWindow(int number)
{
    if (TextWindowIsOpen(number)) {
        BringTextWindowForward(number);
        return;
    }
    GuiRequestBlock b = EmptyBlock();
    b.number = number; b.x = b.y = b.width = b.height = -1;
    PostGuiRequest(GUIREQ_OPENTEXTWINDOW, b, true, PumpGuiMessages);
}

void RequestOpenInputBox(int items)
{
    GuiRequestBlock b = EmptyBlock();
    b.number = items; b.x = 0; b.y = 0;
    PostGuiRequest(GUIREQ_OPENINPUTBOX, b, true, PumpGuiMessages);
}

void RequestOpenButtonBox(int columns, int rows)
{
    GuiRequestBlock b = EmptyBlock();
    b.x = 0; b.y = 0; b.width = columns; b.height = rows;
    PostGuiRequest(GUIREQ_OPENBUTTONBOX, b, true, PumpGuiMessages);
}

// ---- Exit sequence (GUI thread) ----------------------------------------------------

void ExitProgram(void)
{
    if (ExitState.load() != 0) return; // already on its way out
    InputOwner.store(0);
    StopRequested.store(1);
    ExitState.store(1);
    TAV_CloseAllLogs();
    uint32_t t0 = TAV_GetTime();
    DWORD code = STILL_ACTIVE;
    while (GetExitCodeThread(WorkerThread, &code) && code == STILL_ACTIVE) {
        if (TAV_GetTime() - t0 > 2000) break;
        Sleep(0);
    }
    if (GetExitCodeThread(WorkerThread, &code) && code == STILL_ACTIVE) TerminateThread(WorkerThread, 1);
    int expected = 1;
    ExitState.compare_exchange_strong(expected, 2);
    CloseHandle(WorkerThread);
    WorkerThread = nullptr;
    DestroyWindow(MainWindow);
}

// ---- Small public helpers ------------------------------------------------------------

void TAV_SetForeground(int window)
{
    if (window == TAVMAINWINDOW) SetForegroundWindow(MainWindow);
}

unsigned TAV_SystemCodePage(void) { return GetACP(); }
