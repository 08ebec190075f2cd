// What user programs may read of an image and do with its window beyond
// drawing: its buffer and position, moving it, bringing it forward.
#include <windows.h>

#include "image/image_win32.h"
#include "tavkit.h"

int TAV_GetImageInfo(int number, TavImageInfo* info)
{
    if (!ImageInUse(number)) return 1;
    const ImageSlot& s = ImageTable[number];
    RECT r = {0, 0, 0, 0};
    GetWindowRect((HWND)s.window, &r);
    info->pixels = Pixels32[number];
    info->width = s.width;
    info->height = s.height;
    info->bits = s.bits;
    info->windowX = r.left;
    info->windowY = r.top;
    return 0;
}

int TAV_MoveImageWindow(int number, int x, int y)
{
    if (!ImageInUse(number)) return 1;
    SetWindowPos((HWND)ImageTable[number].window, nullptr, x, y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

int TAV_BringImageToFront(int number)
{
    if (!ImageInUse(number)) return 1;
    BringWindowToTop((HWND)ImageTable[number].window);
    return 0;
}
