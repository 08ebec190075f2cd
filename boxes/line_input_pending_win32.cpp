// Placeholder until line input lands: no text window is ever open, so a line
// request returns at once and leaves the buffer as the caller set it.
#include "tavkit.h"

void TAV_InputLine(char*) {}
