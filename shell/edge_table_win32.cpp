// Window edge table and Ctrl-drag snapping. Until snapping is built, windows
// move freely: the table is not kept and proposed rectangles stay as they are.
#include <windows.h>

#include "shell/shell_win32.h"

void RebuildEdgeTable(void) {}
void SnapMovingWindow(HWND, RECT*) {}
