// Placeholder until the image table lands: no image can be created.
#include <windows.h>

#include "image/image_table.h"
#include "shell/shell_win32.h"
#include "tavkit.h"

void ClearImageTable(void) {}
int TAV_CreateImage(int, const char*, int, int, int, int, int, int) { return 3; }
int TAV_SelectImage(int) { return 1; }
int TAV_RestoreImage(void) { return 1; }
int TAV_ShowImage(int) { return 1; }

LRESULT CALLBACK ImageWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefWindowProcW(window, message, wparam, lparam);
}
