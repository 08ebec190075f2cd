#include "console/line_input_state.h"

std::atomic<int> InputOwner{0};
char LastInputLine[LastInputLineBytes];
