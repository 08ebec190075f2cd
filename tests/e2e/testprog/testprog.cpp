// A user program for end-to-end tests of the library. It records what the
// library asks of it in the file named by TAVTEST_LOG, one line per event,
// and behaves as TAVTEST_MODE says:
//   poll  (default) TAV_Main waits for Stop or Exit, pumping messages
//   spin            TAV_Main loops forever without looking at any flag
//   quick           TAV_Main returns at once
//   buttonbox       TAV_Setup opens a button box of 3 x 2 at (100, 300); TAV_Main
//                   polls its buttons, recording "button N" and "clicks K" for
//                   each action, until Stop or Exit
//   console         TAV_Setup opens text window 0 and a 2 x 13 button box, prints a
//                   line and records "printed 1"
//   all256          TAV_Main opens all 256 images and all 256 text windows, closes
//                   them, and records how many of each opened and the process's
//                   GDI object count before and after ("gdi before N", "gdi after N")
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
    if (strcmp(Mode(), "console") == 0) { // a console and a panel, as the converter opens them
        TAV_OpenTextWindow(0, 216, 0, 198, 106);
        TAV_OpenButtonBox(0, 0, 2, 13);
        TAV_Printf("hello\n");
        Record("printed %d", 1);
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

// Every image and every text window at once, then none.
static void OpenAndCloseEverything(void)
{
    Record("gdi before %d", (int)GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    int images = 0, texts = 0;
    for (int n = 0; n < 256; ++n) {
        images += TAV_CreateImage8FL(n, "all", n % 16 * 8, n / 16 * 8, 16, 16, 100) == 0;
        texts += TAV_OpenTextWindow(n, 300 + n % 16 * 8, n / 16 * 8, 64, 32) == 0;
        TAV_Printf("%d", n);
    }
    Record("images %d", images);
    Record("texts %d", texts);
    for (int n = 0; n < 256; ++n) {
        TAV_DestroyImage(n);
        TAV_CloseTextWindow(n);
    }
    TAV_ProcessMessages();
    Record("gdi after %d", (int)GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}

void TAV_Main(void)
{
    Record("main enter stop=%d", StopRequested.load());
    if (strcmp(Mode(), "spin") == 0) {
        for (volatile unsigned n = 0;; n = n + 1) { }
    }
    if (strcmp(Mode(), "buttonbox") == 0) PollButtons();
    if (strcmp(Mode(), "all256") == 0) OpenAndCloseEverything();
    if (strcmp(Mode(), "poll") == 0) {
        while (StopRequested.load() == 0 && ExitState.load() == 0) {
            TAV_ProcessMessages();
            Sleep(5);
        }
    }
    Record("main return stop=%d", StopRequested.load());
}
