// Shared state of the application shell: run control and the request slot.
// Plain data shared by the GUI thread and the worker thread without locks;
// each item names its writer. Atomics give the ordering the channel needs.
#ifndef TAV_SHELL_STATE_H
#define TAV_SHELL_STATE_H

#include <atomic>
#include <cstdint>

// ---- Run control --------------------------------------------------------------
extern std::atomic<int> StartRequested;     // GUI sets (Start while idle); worker clears
extern std::atomic<int> UserProgramRunning; // worker: 1 while TAV_Main runs
extern std::atomic<int> StopRequested;      // GUI sets (Stop, Exit); worker clears around TAV_Main
extern std::atomic<int> ExitState;          // GUI: 1 on Exit, 2 when abandoned; worker: 2 on leaving

// ---- Request channel ----------------------------------------------------------
enum GuiRequest {
    GUIREQ_CREATEIMAGE = 9001,
    GUIREQ_SHOWIMAGE = 9002,
    GUIREQ_LOADIMAGE = 9003,
    GUIREQ_PASTEBITMAP = 9004,
    GUIREQ_OPENTEXTWINDOW = 9005,
    GUIREQ_OPENINPUTBOX = 9006,
    GUIREQ_OPENBUTTONBOX = 9007,
};

// Parameter block of the one pending request. Written by the GUI thread
// before it publishes PendingRequest; `result` written by the worker.
struct GuiRequestBlock {
    int number;        // image number, text window number, or input box items
    const char* title; // title of a new image window; owned by the poster
    int x, y;          // screen position (-1: default); for 9003 the draw position
    int width, height; // image size, text window client size, or button columns/rows
    int zoom;          // display zoom of a new image window, percent
    int bits;          // 32 or 8
    void* bitmap;      // HBITMAP to paste; the worker deletes it
    const char* path;  // picture file to load; owned by the poster
    int result;        // result of the executed request, where it has one
};

extern GuiRequestBlock RequestBlock;      // GUI writes fields, worker writes result
extern std::atomic<int> PendingRequest;  // GUI publishes a code (release); worker sets 0 last
extern std::atomic<int> RequestDone;     // GUI sets 0 before publishing; worker sets 1

// Pumps the poster's own messages while it waits (PumpGuiMessages on the GUI
// thread). Also called from tests with a plain yield.
typedef void (*PumpFunction)(void);

// Posts a request: waits for a free slot, lets `fill` write the block, then
// publishes `code`; when `wait` is set, pumps until the worker is done.
// Gives up (returns -1) once `ExitState` is 2, since no worker will answer.
int PostGuiRequest(int code, const GuiRequestBlock& block, bool wait, PumpFunction pump);

// Worker side: runs `execute` for the pending request (if any), then marks it
// done. `execute` returns false for a code it does not know; such a code is
// left in the slot untouched.
typedef bool (*ExecuteFunction)(int code, GuiRequestBlock& block);
void ServeGuiRequest(ExecuteFunction execute);

// ---- Worker loop ----------------------------------------------------------------
// The platform pieces of the worker thread, so the loop itself runs anywhere.
struct WorkerPlatform {
    void (*setup)(void);            // user program's TAV_Setup
    void (*main)(void);             // user program's TAV_Main
    void (*afterSetup)(void);       // RebuildEdgeTable
    void (*sleepOneMs)(void);
    void (*processMessages)(void);  // TAV_ProcessMessages
    void (*serveRequest)(void);     // ExecuteGuiRequest when one is pending
    void (*acceptDrops)(bool on);   // main window's file-drop acceptance
};
int RunWorkerLoop(const WorkerPlatform& platform);

// ---- Small rules of the shell ---------------------------------------------------
enum { StatusLineBytes = 64 };
// Centres `text` in a 64-byte line of spaces the way the status line shows it.
void FormatStatusLine(const char* text, char line[StatusLineBytes]);
// Milliseconds from a performance-counter reading.
uint32_t CounterToMs(int64_t count, double msPerTick);
// Offsets of the main window's drop-in animation; they add up to 55.
enum { DropInSteps = 28 };
extern const int DropInOffsets[DropInSteps];
// Appends a backslash unless `dir` already ends in one; keeps the terminator
// within `size` characters. Used on wide text, where a backslash can never be
// the trail byte of a double-byte character.
template <typename Ch> void EnsureTrailingBackslash(Ch* dir, int size)
{
    int len = 0;
    while (dir[len] != 0) ++len;
    if (len == 0 || dir[len - 1] == Ch('\\')) return;
    if (len + 2 > size) return; // no room: keep the folder as it is
    dir[len] = Ch('\\');
    dir[len + 1] = 0;
}
// Copies at most size-1 bytes and always terminates (size > 0).
void CopyBounded(char* dst, const char* src, int size);

#endif
