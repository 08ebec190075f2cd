// Taking a picture from the clipboard as a bitmap, and pasting such a bitmap
// into the current image. The clipboard is open only within one call.
#include <windows.h>

#include <cstring>

#include "image/dib_block.h"
#include "image/image_io_win32.h"
#include "image/image_table.h"
#include "tavkit.h"

// A screen-compatible bitmap made from a CF_DIB block that passed the layout
// check; its colour table (8 bits or fewer) goes to `colors`.
static HBITMAP BitmapFromDibBlock(HGLOBAL block, RGBQUAD colors[256], int* count)
{
    SIZE_T size = GlobalSize(block);
    const uint8_t* data = (const uint8_t*)GlobalLock(block);
    if (!data) return nullptr;
    HBITMAP bitmap = nullptr;
    DibLayout layout;
    if (ReadDibLayout(data, size, &layout)) {
        HDC screen = GetDC(nullptr);
        bitmap = CreateDIBitmap(screen, (const BITMAPINFOHEADER*)data, CBM_INIT, data + layout.bitsOffset,
                                (const BITMAPINFO*)data, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        if (bitmap && layout.paletteColors > 0) {
            memcpy(colors, data + layout.colorTableOffset, 4 * (size_t)layout.paletteColors);
            *count = layout.paletteColors;
        }
    }
    GlobalUnlock(block);
    return bitmap;
}

HBITMAP FetchClipboardBitmap(RGBQUAD colors[256], int* count)
{
    *count = 0;
    UINT format = IsClipboardFormatAvailable(CF_DIB) ? CF_DIB
                  : IsClipboardFormatAvailable(CF_BITMAP) ? CF_BITMAP : 0;
    if (format == 0 || !OpenClipboard(nullptr)) return nullptr;
    HANDLE data = GetClipboardData(format);
    HBITMAP bitmap = nullptr;
    if (data && format == CF_DIB) bitmap = BitmapFromDibBlock((HGLOBAL)data, colors, count);
    if (data && format == CF_BITMAP) bitmap = (HBITMAP)CopyImage(data, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    CloseClipboard();
    return bitmap;
}

void PasteBitmapToCurrentImage(HBITMAP bitmap)
{
    if (!bitmap) return;
    if (ImageInUse(CurrentImage)) {
        HDC target = (HDC)ImageTable[CurrentImage].memoryDC;
        HDC source = CreateCompatibleDC(target);
        BITMAP info;
        if (source && GetObjectW(bitmap, sizeof info, &info)) {
            HGDIOBJ previous = SelectObject(source, bitmap);
            BitBlt(target, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
            GdiFlush();
            SelectObject(source, previous);
        }
        if (source) DeleteDC(source);
    }
    DeleteObject(bitmap);
}
