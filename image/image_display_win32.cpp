// Showing an image in its window, the stretching modes, zoom and the title.
//
// At zoom 100 the display is one block copy. Other zooms stretch, except a
// reduction in half-tone mode: the library averages it into the slot's
// display buffer itself (the platform's half-tone stretching is not an
// average everywhere) and block-copies that.
#include <windows.h>

#include "image/display_reduce.h"
#include "image/image_title.h"
#include "image/image_win32.h"
#include "shell/shell_win32.h"
#include "tavkit.h"

bool SystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != 0; }

// ---- Display buffer -------------------------------------------------------------

void FreeDisplayBuffer(int number)
{
    DisplayBuffer& d = DisplayBuffers[number];
    if (d.dc) {
        SelectObject((HDC)d.dc, (HGDIOBJ)d.previousBitmap);
        DeleteObject((HGDIOBJ)d.dib);
        DeleteDC((HDC)d.dc);
    }
    d = DisplayBuffer{};
}

// Makes sure slot n has a display buffer of its display size.
static bool EnsureDisplayBuffer(int n)
{
    const ImageSlot& s = ImageTable[n];
    DisplayBuffer& d = DisplayBuffers[n];
    if (d.dc && d.width == s.displayWidth && d.height == s.displayHeight) return true;
    FreeDisplayBuffer(n);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = s.displayWidth;
    info.bmiHeader.biHeight = -s.displayHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HDC dc = CreateCompatibleDC((HDC)s.windowDC);
    HBITMAP dib = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0) : nullptr;
    HGDIOBJ previous = dib && pixels ? SelectObject(dc, dib) : nullptr;
    if (!previous) {
        if (dib) DeleteObject(dib);
        if (dc) DeleteDC(dc);
        return false;
    }
    d = DisplayBuffer{dib, dc, previous, (uint32_t*)pixels, s.displayWidth, s.displayHeight};
    return true;
}

// The averaged display of slot n; false when its memory cannot be had.
static bool ShowAveraged(int n)
{
    const ImageSlot& s = ImageTable[n];
    if (!EnsureDisplayBuffer(n)) return false;
    GdiFlush(); // drawing through memoryDC has reached the pixels
    uint32_t palette[256] = {};
    if (s.bits == 8) GetDIBColorTable((HDC)s.memoryDC, 0, 256, (RGBQUAD*)palette);
    const int stride = s.bits == 8 ? Stride8(s.width) : s.width * 4;
    const DisplayBuffer& d = DisplayBuffers[n];
    if (!ReduceImageArea(Pixels8[n], s.width, s.height, stride, s.bits, palette, d.pixels, d.width, d.height))
        return false;
    BitBlt((HDC)s.windowDC, 0, 0, d.width, d.height, (HDC)d.dc, 0, 0, SRCCOPY);
    return true;
}

// ---- Show, stretching mode, zoom, title --------------------------------------------

void ApplyStretchMode(HDC dc, int mode)
{
    SetStretchBltMode(dc, mode);
    SetBrushOrgEx(dc, 0, 0, nullptr); // required after half-tone, harmless otherwise
}

int TAV_ShowImage(int number)
{
    if (!ImageInUse(number)) return 1;
    const ImageSlot& s = ImageTable[number];
    HDC window = (HDC)s.windowDC, memory = (HDC)s.memoryDC;
    if (s.zoom == 100) {
        BitBlt(window, 0, 0, s.width, s.height, memory, 0, 0, SRCCOPY);
    } else if (s.zoom > 100 || GetStretchBltMode(window) != HALFTONE || !ShowAveraged(number)) {
        StretchBlt(window, 0, 0, s.displayWidth, s.displayHeight, memory, 0, 0, s.width, s.height, SRCCOPY);
    }
    return 0;
}

int TAV_SetStretchMode(int number, int mode)
{
    if (!ImageInUse(number)) return 1;
    const ImageSlot& s = ImageTable[number];
    if (mode == COLORONCOLOR || mode == HALFTONE) {
        ApplyStretchMode((HDC)s.windowDC, mode);
        ApplyStretchMode((HDC)s.memoryDC, mode);
    }
    InvalidateRect((HWND)s.window, nullptr, FALSE);
    UpdateImageTitle(number);
    return 0;
}

int TAV_GetStretchMode(int number)
{
    if (!ImageInUse(number)) return 0;
    return GetStretchBltMode((HDC)ImageTable[number].windowDC);
}

// The frame keeps its size; only the client area follows the new zoom. The
// slot is marked free meanwhile, so the window's messages find no image.
int TAV_ZoomImage(int number, int zoom)
{
    if (!ImageInUse(number)) return 1;
    ImageSlot& s = ImageTable[number];
    s.inUse = 0;
    DisplayFit fit;
    if (!FitDisplaySize(s.width, s.height, zoom, GetClientSizeLimits(s.limitMode), &fit)) {
        s.inUse = 1;
        return 2;
    }
    s.zoom = fit.zoom;
    RECT outer;
    GetWindowRect((HWND)s.window, &outer);
    SetWindowPos((HWND)s.window, nullptr, 0, 0, outer.right - outer.left - s.displayWidth + fit.width,
                 outer.bottom - outer.top - s.displayHeight + fit.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW);
    s.displayWidth = fit.width;
    s.displayHeight = fit.height;
    FreeDisplayBuffer(number); // made again at the new size when next needed
    s.inUse = 1;
    InvalidateRect((HWND)s.window, nullptr, FALSE);
    UpdateImageTitle(number);
    RebuildEdgeTable();
    return 0;
}

void UpdateImageTitle(int number)
{
    const ImageSlot& s = ImageTable[number];
    char title[ImageTitleBytes];
    FormatImageTitle(s.name, s.zoom, s.bits, GetStretchBltMode((HDC)s.memoryDC) == HALFTONE, SystemLeadByte,
                     title);
    SetWindowTextAnsi((HWND)s.window, title);
}
