// Reading what a device context shows, for tests that check pixels.
#ifndef TAV_TEST_DC_PIXELS_H
#define TAV_TEST_DC_PIXELS_H

#include <windows.h>

#include <cstdint>
#include <vector>

// The top-left width x height pixels of `source` as 0x00RRGGBB words, row by
// row from the top, copied through a 32-bit DIB section that is freed again.
inline std::vector<uint32_t> CopyDcPixels(HDC source, int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(source);
    HGDIOBJ previous = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> pixels((const uint32_t*)bits, (const uint32_t*)bits + (size_t)width * height);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(dib);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

#endif
