// The colour table of the current 8-bit image, passed unchanged between the
// caller and the DIB section.
#include <windows.h>

#include "image/image_win32.h"
#include "tavkit.h"

// 0 when the current image is an 8-bit image in use, else the refusal code.
static int CheckColorTableImage(void)
{
    if (!ImageInUse(CurrentImage)) return 1;
    return ImageTable[CurrentImage].bits == 8 ? 0 : 2;
}

int TAV_SetColorTable(const void* entries, int count)
{
    const int refused = CheckColorTableImage();
    if (refused) return refused;
    const ImageSlot& s = ImageTable[CurrentImage];
    if (count > 256) count = 256;
    if (count > 0) SetDIBColorTable((HDC)s.memoryDC, 0, (UINT)count, (const RGBQUAD*)entries);
    InvalidateRect((HWND)s.window, nullptr, FALSE);
    return 0;
}

int TAV_GetColorTable(void* entries256)
{
    const int refused = CheckColorTableImage();
    if (refused) return refused;
    GetDIBColorTable((HDC)ImageTable[CurrentImage].memoryDC, 0, 256, (RGBQUAD*)entries256);
    return 0;
}
