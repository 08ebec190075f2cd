// The worker thread's loop: setup hook once, then idle passes that pump
// messages, serve a pending request and run the main hook on Start.
#include "shell/shell_state.h"

int RunWorkerLoop(const WorkerPlatform& p)
{
    p.setup();
    p.afterSetup();
    while (ExitState.load(std::memory_order_acquire) == 0) {
        p.sleepOneMs();
        p.processMessages();
        if (PendingRequest.load(std::memory_order_acquire) != 0) p.serveRequest();
        if (StartRequested.load() != 0 && UserProgramRunning.load() == 0) {
            p.acceptDrops(false);
            UserProgramRunning.store(1);
            StartRequested.store(0);
            StopRequested.store(0);
            p.main();
            // On Exit the flags and drop acceptance stay as they are.
            if (ExitState.load(std::memory_order_acquire) != 0) break;
            UserProgramRunning.store(0);
            StopRequested.store(0);
            p.acceptDrops(true);
        }
    }
    ExitState.store(2, std::memory_order_release);
    p.processMessages();
    return 0;
}
