// A user program for end-to-end tests of the library. It records what the
// library asks of it in the file named by TAVTEST_LOG, one line per event,
// and behaves as TAVTEST_MODE says:
//   poll  (default) TAV_Main waits for Stop or Exit, pumping messages
//   spin            TAV_Main loops forever without looking at any flag
//   quick           TAV_Main returns at once
//   buttonbox       TAV_Setup opens a button box of 3 x 2 at (100, 300); TAV_Main
//                   polls its buttons, recording "button N" and "clicks K" for
//                   each action, until Stop or Exit
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tavkit.h"

static char LogPath[MAX_PATH];

static void Record(const char* format, int value)
{
    if (!LogPath[0]) return;
    FILE* f = fopen(LogPath, "a");
    if (!f) return;
    fprintf(f, format, value);
    fputc('\n', f);
    fclose(f);
}

static const char* Mode(void)
{
    const char* m = getenv("TAVTEST_MODE");
    return m ? m : "poll";
}

static void RecordExitState(void) { Record("end exitstate=%d", ExitState.load()); }

void TAV_Setup(void)
{
    const char* log = getenv("TAVTEST_LOG");
    if (log) snprintf(LogPath, sizeof LogPath, "%s", log);
    atexit(RecordExitState);
    Record("setup %d", 1);
    if (strcmp(Mode(), "buttonbox") == 0) {
        TAV_OpenButtonBox(100, 300, 3, 2);
        Record("box %d", TAV_ButtonBoxCount());
    }
}

static void PollButtons(void)
{
    while (StopRequested.load() == 0 && ExitState.load() == 0) {
        for (int i = 0; i < TAV_ButtonBoxCount(); ++i) {
            int clicks = TAV_TakeButtonClicks(i);
            if (clicks == 0) continue;
            Record("button %d", i);
            Record("clicks %d", clicks);
        }
        TAV_ProcessMessages();
        Sleep(5);
    }
}

void TAV_Main(void)
{
    Record("main enter stop=%d", StopRequested.load());
    if (strcmp(Mode(), "spin") == 0) {
        for (volatile unsigned n = 0;; n = n + 1) { }
    }
    if (strcmp(Mode(), "buttonbox") == 0) PollButtons();
    if (strcmp(Mode(), "poll") == 0) {
        while (StopRequested.load() == 0 && ExitState.load() == 0) {
            TAV_ProcessMessages();
            Sleep(5);
        }
    }
    Record("main return stop=%d", StopRequested.load());
}
