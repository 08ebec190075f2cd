// Definitions of the shell's shared state (see shell_state.h for writers).
#include "shell/shell_state.h"

std::atomic<int> StartRequested{0};
std::atomic<int> UserProgramRunning{0};
std::atomic<int> StopRequested{0};
std::atomic<int> ExitState{0};

GuiRequestBlock RequestBlock{};
std::atomic<int> PendingRequest{0};
std::atomic<int> RequestDone{1};
