// The single-slot request channel from the GUI thread to the worker thread.
// The poster writes the block, clears RequestDone and publishes the code last
// (release); the worker reads the code (acquire), executes, writes the result,
// sets RequestDone and frees the slot (release).
#include "shell/shell_state.h"

static bool WorkerGone() { return ExitState.load(std::memory_order_acquire) != 0; }

int PostGuiRequest(int code, const GuiRequestBlock& block, bool wait, PumpFunction pump)
{
    // Another request (posted from an outer wait of this thread) still holds the slot.
    while (PendingRequest.load(std::memory_order_acquire) != 0) {
        if (WorkerGone()) return -1;
        pump();
    }
    if (WorkerGone()) return -1;
    RequestBlock = block;
    if (wait) RequestDone.store(0, std::memory_order_relaxed);
    PendingRequest.store(code, std::memory_order_release);
    if (!wait) return 0;
    while (RequestDone.load(std::memory_order_acquire) == 0) {
        if (WorkerGone()) return -1;
        pump();
    }
    return RequestBlock.result;
}

void ServeGuiRequest(ExecuteFunction execute)
{
    int code = PendingRequest.load(std::memory_order_acquire);
    if (code == 0) return;
    if (!execute(code, RequestBlock)) return; // unknown code: left in the slot
    RequestDone.store(1, std::memory_order_release);
    PendingRequest.store(0, std::memory_order_release);
}
