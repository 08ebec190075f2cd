// Placeholder until image files and the clipboard land: nothing is loaded,
// a pasted bitmap is only freed.
#include <windows.h>

#include "tavkit.h"

int TAV_LoadImage(const char*, int, int) { return 2; }
void PasteBitmapToCurrentImage(HBITMAP bitmap) { DeleteObject(bitmap); }
