// State of line input shared with the shell.
#ifndef TAV_LINE_INPUT_STATE_H
#define TAV_LINE_INPUT_STATE_H

#include <atomic>

enum { LastInputLineBytes = 520 };

// Text window number + 1 of the window waiting for a typed line; 0 when none.
// Written by the waiting thread and by Exit (set to 0 to abandon the wait).
extern std::atomic<int> InputOwner;
extern char LastInputLine[LastInputLineBytes]; // the last line typed, for recall

#endif
