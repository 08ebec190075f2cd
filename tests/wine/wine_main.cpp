// Entry of the Wine test binary: the test thread plays the worker thread.
// It sets up what start-up would (instance, clock, window classes) without a
// main window, then runs the tests.
#include <windows.h>

#include <gtest/gtest.h>

#include "shell/shell_win32.h"
#include "tavkit.h"

// The library calls these hooks only from its worker thread, which the tests never start.
void TAV_Setup(void) {}
void TAV_Main(void) {}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    ProgramInstance = GetModuleHandleW(nullptr);
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    MsPerTick = 1000.0 / (double)f.QuadPart;
    swprintf(MainClassName, 11, L"tavkit_mwT");
    ClearLibraryTables();
    if (!RegisterWindowClasses()) return 3;
    WorkerThreadId = GetCurrentThreadId();
    return RUN_ALL_TESTS();
}
