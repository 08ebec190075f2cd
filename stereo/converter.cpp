// The stereo converter's hooks.
#include "tavkit.h"

void TAV_Setup(void) {}

void TAV_Main(void) {}
