// Creation, destruction and re-creation of images: the slot's window, its two
// device contexts, its pixel buffer and its name, acquired in that order and
// released in reverse.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "image/image_title.h"
#include "image/image_win32.h"
#include "shell/shell_win32.h"
#include "tavkit.h"

static const DWORD ImageWindowStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

ClientSizeLimits GetClientSizeLimits(int limitMode)
{
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (limitMode != 1) return ClientSizeLimits{1, 1, 2 * screenWidth, 2 * screenHeight};
    const int frame = GetSystemMetrics(SM_CXFRAME), caption = GetSystemMetrics(SM_CYCAPTION);
    return ClientSizeLimits{GetSystemMetrics(SM_CXMIN) - 2 * frame,
                            GetSystemMetrics(SM_CYMIN) - 2 * frame - caption, screenWidth,
                            screenHeight - caption};
}

static char* CopyName(const char* name)
{
    if (!name) name = "";
    const size_t size = strlen(name) + 1;
    char* copy = (char*)malloc(size);
    if (copy) memcpy(copy, name, size);
    return copy;
}

// The window (sized for the slot's display) and its two contexts. On failure
// nothing is left behind.
static bool OpenImageWindow(ImageSlot& s, int x, int y)
{
    RECT outer = {0, 0, s.displayWidth, s.displayHeight};
    AdjustWindowRect(&outer, ImageWindowStyle, FALSE);
    char title[ImageTitleBytes];
    FormatImageTitle(s.name, s.zoom, s.bits, false, SystemLeadByte, title);
    wchar_t wide[WideTextChars];
    AnsiToWide(title, wide, WideTextChars);
    // The platform offers a default only for the pair: -1 in either means both.
    const bool placeByDefault = x == -1 || y == -1;
    HWND window = CreateWindowExW(0, L"tav_iw", wide, ImageWindowStyle, placeByDefault ? CW_USEDEFAULT : x,
                                  placeByDefault ? CW_USEDEFAULT : y, outer.right - outer.left,
                                  outer.bottom - outer.top, MainWindow, nullptr, ProgramInstance, nullptr);
    if (!window) return false;
    UpdateWindow(window);
    BringWindowToTop(window);
    DragAcceptFiles(window, TRUE);
    HDC windowDC = GetDC(window);
    HDC memoryDC = windowDC ? CreateCompatibleDC(windowDC) : nullptr;
    if (!memoryDC) {
        if (windowDC) ReleaseDC(window, windowDC);
        DestroyWindow(window);
        return false;
    }
    ApplyStretchMode(windowDC, COLORONCOLOR);
    ApplyStretchMode(memoryDC, COLORONCOLOR);
    s.window = window;
    s.windowDC = windowDC;
    s.memoryDC = memoryDC;
    return true;
}

static void CloseImageWindow(ImageSlot& s)
{
    DeleteDC((HDC)s.memoryDC);
    ReleaseDC((HWND)s.window, (HDC)s.windowDC);
    DestroyWindow((HWND)s.window);
    s.window = s.windowDC = s.memoryDC = nullptr;
}

// The zeroed top-down DIB section of slot n, selected into its memoryDC. A
// buffer larger than the platform's size arithmetic can hold is not asked for.
static bool CreatePixelBuffer(int n)
{
    ImageSlot& s = ImageTable[n];
    const int64_t bytes = ImageBufferBytes(s.width, s.height, s.bits);
    if (bytes > MaxImageBufferBytes) return false;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = s.width;
    info.header.biHeight = -s.height;
    info.header.biPlanes = 1;
    info.header.biBitCount = (WORD)s.bits;
    info.header.biCompression = BI_RGB;
    for (int i = 0; i < 256; ++i) info.colors[i] = RGBQUAD{(BYTE)i, (BYTE)i, (BYTE)i, 0};
    void* pixels = nullptr;
    HBITMAP dib = CreateDIBSection((HDC)s.windowDC, (BITMAPINFO*)&info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    HGDIOBJ previous = dib && pixels ? SelectObject((HDC)s.memoryDC, dib) : nullptr;
    if (!previous) {
        if (dib) DeleteObject(dib);
        return false;
    }
    s.dib = dib;
    s.previousBitmap = previous;
    Pixels32[n] = (uint32_t*)pixels;
    Pixels8[n] = (uint8_t*)pixels;
    memset(pixels, 0, (size_t)bytes);
    return true;
}

// The one creation routine behind the four public forms.
static int CreateImageSlot(int n, const char* name, int x, int y, int width, int height, int zoom,
                           int bits, int limitMode)
{
    if ((unsigned)n >= ImageCount) return 4;
    ImageSlot& s = ImageTable[n];
    if (s.inUse) return 1;
    if (bits != 8 && bits != 32) return 3;
    s.bits = bits;
    s.limitMode = limitMode;
    s.width = width < 1 ? 1 : width;
    s.height = height < 1 ? 1 : height;
    DisplayFit fit;
    if (!FitDisplaySize(s.width, s.height, zoom, GetClientSizeLimits(limitMode), &fit)) return 2;
    s.displayWidth = fit.width;
    s.displayHeight = fit.height;
    s.zoom = fit.zoom;
    s.name = CopyName(name);
    if (!s.name) return 3;
    if (!OpenImageWindow(s, x, y)) {
        free(s.name);
        s.name = nullptr;
        return 3;
    }
    if (!CreatePixelBuffer(n)) {
        CloseImageWindow(s);
        free(s.name);
        s.name = nullptr;
        return 3;
    }
    s.inUse = 1;
    RebuildEdgeTable();
    TAV_SelectImage(n);
    return 0;
}

int TAV_CreateImage(int number, const char* name, int x, int y, int width, int height, int zoom, int bits)
{
    return CreateImageSlot(number, name, x, y, width, height, zoom, bits, 1);
}

int TAV_CreateImageFL(int number, const char* name, int x, int y, int width, int height, int zoom)
{
    return CreateImageSlot(number, name, x, y, width, height, zoom, 32, 0);
}

int TAV_CreateImage8(int number, const char* name, int x, int y, int width, int height, int zoom)
{
    return CreateImageSlot(number, name, x, y, width, height, zoom, 8, 1);
}

int TAV_CreateImage8FL(int number, const char* name, int x, int y, int width, int height, int zoom)
{
    return CreateImageSlot(number, name, x, y, width, height, zoom, 8, 0);
}

// The slot is marked free before anything is released, so messages the
// window gets while it goes find no image.
int TAV_DestroyImage(int number)
{
    if (!ImageInUse(number)) return 1;
    ImageSlot& s = ImageTable[number];
    s.inUse = 0;
    FreeDisplayBuffer(number);
    SelectObject((HDC)s.memoryDC, (HGDIOBJ)s.previousBitmap);
    DeleteObject((HGDIOBJ)s.dib);
    s.dib = s.previousBitmap = nullptr;
    free(s.name);
    s.name = nullptr;
    CloseImageWindow(s);
    return 0;
}

int TAV_ResizeImage(int number, int width, int height)
{
    if (!ImageInUse(number)) return 1;
    const ImageSlot& s = ImageTable[number];
    char name[256];
    CopyBounded(name, s.name, sizeof name);
    const int bits = s.bits, zoom = s.zoom;
    RECT outer;
    GetWindowRect((HWND)s.window, &outer);
    const int mode = GetStretchBltMode((HDC)s.windowDC);
    RGBQUAD colors[256];
    if (bits == 8) GetDIBColorTable((HDC)s.memoryDC, 0, 256, colors);

    TAV_DestroyImage(number);
    const int result = CreateImageSlot(number, name, outer.left, outer.top, width, height, zoom, bits, 1);
    if (result != 0) return result;
    if (bits == 8) SetDIBColorTable((HDC)ImageTable[number].memoryDC, 0, 256, colors);
    TAV_SetStretchMode(number, mode);
    return 0;
}
