// Image windows under Wine: creation in its forms, refusals, resize, titles,
// zoom, the half-tone display read back from the window, the window
// procedure's routing and the release of every platform object.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dc_pixels.h"
#include "image/image_win32.h"
#include "shell/shell_win32.h"
#include "tavkit.h"

namespace {

// Every test starts and ends with an empty table.
struct ImageWindows : testing::Test {
    void SetUp() override { ClearImageTable(); }
    void TearDown() override
    {
        for (int n = 0; n < ImageCount; ++n) TAV_DestroyImage(n);
        TAV_ProcessMessages();
        ClearImageTable();
    }
    static HWND Window(int n) { return (HWND)ImageTable[n].window; }
    static std::string Title(int n)
    {
        char text[512];
        GetWindowTextAnsi(Window(n), text, sizeof text);
        return text;
    }
    static SIZE ClientSize(int n)
    {
        RECT r;
        GetClientRect(Window(n), &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    }
    static RECT Outer(int n)
    {
        RECT r;
        GetWindowRect(Window(n), &r);
        return r;
    }
};

// Image windows of this thread, as the system sees them.
int CountImageWindows(void)
{
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM counter) -> BOOL {
            wchar_t name[16];
            if (GetClassNameW(window, name, 16) && wcscmp(name, L"tav_iw") == 0) ++*(int*)counter;
            return TRUE;
        },
        (LPARAM)&count);
    return count;
}

// The client pixels of a window, copied out of its device context.
std::vector<uint32_t> ReadClient(HWND window, int width, int height)
{
    HDC windowDC = GetDC(window);
    std::vector<uint32_t> pixels = CopyDcPixels(windowDC, width, height);
    ReleaseDC(window, windowDC);
    return pixels;
}

// A 1-pixel checkerboard of black and white in image n (either depth).
void FillCheckerboard(int n)
{
    const ImageSlot& s = ImageTable[n];
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            const bool white = (x + y) % 2 != 0;
            if (s.bits == 32) Pixels32[n][(size_t)y * s.width + x] = white ? 0xFFFFFF : 0;
            else Pixels8[n][(size_t)y * Stride8(s.width) + x] = white ? 255 : 0;
        }
}

bool IsGrey(uint32_t c, int low, int high)
{
    const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    return r == g && g == b && r >= low && r <= high;
}

TEST_F(ImageWindows, CheckerboardAtHalfSizeInHalftoneReadsBackGrey)
{
    for (int bits : {32, 8}) {
        const int n = bits == 32 ? 10 : 11;
        ASSERT_EQ(TAV_CreateImage(n, "board", 30, 30, 256, 200, 50, bits), 0);
        ASSERT_EQ(ImageTable[n].displayWidth, 128);
        ASSERT_EQ(ImageTable[n].displayHeight, 100);
        FillCheckerboard(n);

        // Nearest-pixel stretching shows only black and white.
        ASSERT_EQ(TAV_ShowImage(n), 0);
        int grey = 0;
        for (uint32_t c : ReadClient(Window(n), 128, 100)) grey += IsGrey(c, 1, 254);
        EXPECT_EQ(grey, 0) << bits;

        ASSERT_EQ(TAV_SetStretchMode(n, HALFTONE), 0);
        ASSERT_EQ(TAV_ShowImage(n), 0);
        const std::vector<uint32_t> shown = ReadClient(Window(n), 128, 100);
        int notGrey = 0;
        for (uint32_t c : shown) notGrey += !IsGrey(c, 112, 143);
        EXPECT_EQ(notGrey, 0) << bits << "-bit, first pixel " << std::hex << shown[0];
        TAV_DestroyImage(n);
    }
}

TEST_F(ImageWindows, PaintMessagesShowTheImageAndCloseDestroysIt)
{
    ASSERT_EQ(TAV_CreateImageFL(3, "paint", 40, 40, 20, 10, 100), 0);
    EXPECT_EQ(ClientSize(3).cx, 20); // smaller than the system's smallest window
    EXPECT_EQ(ClientSize(3).cy, 10);
    for (int i = 0; i < 20 * 10; ++i) Pixels32[3][i] = 0x336699;
    InvalidateRect(Window(3), nullptr, FALSE);
    TAV_ProcessMessages();
    EXPECT_EQ(ReadClient(Window(3), 20, 10), std::vector<uint32_t>(200, 0x336699));

    // Dragging the frame proposes another size; the window keeps its own.
    RECT proposed = Outer(3);
    proposed.right += 50;
    proposed.bottom += 30;
    SendMessageW(Window(3), WM_SIZING, WMSZ_BOTTOMRIGHT, (LPARAM)&proposed);
    const RECT outer = Outer(3);
    EXPECT_TRUE(EqualRect(&proposed, &outer));

    HWND window = Window(3);
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(ImageInUse(3));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(ImageWindows, OneByOneIsRaisedToTheMinimumClientSize)
{
    ASSERT_EQ(TAV_CreateImage(1, "dot", -1, -1, 0, -5, 100), 0);
    const ImageSlot& s = ImageTable[1];
    EXPECT_EQ(s.width, 1);
    EXPECT_EQ(s.height, 1);
    const ClientSizeLimits limits = GetClientSizeLimits(1);
    const int expectedZoom = std::max(std::max(limits.minWidth, 1), std::max(limits.minHeight, 1)) * 100;
    EXPECT_EQ(s.zoom, expectedZoom);
    EXPECT_GT(s.zoom, 100);
    const SIZE client = ClientSize(1);
    EXPECT_EQ(client.cx, s.displayWidth);
    EXPECT_EQ(client.cy, s.displayHeight);
    EXPECT_EQ(CurrentImage, 1);
}

TEST_F(ImageWindows, EightBitImageStartsBlackWithTheGreyRamp)
{
    ASSERT_EQ(TAV_CreateImage8(2, "depth", 0, 0, 5, 3, 100), 0);
    EXPECT_EQ(ImageTable[2].bits, 8);
    EXPECT_EQ(ImageTable[2].limitMode, 1);
    for (int i = 0; i < Stride8(5) * 3; ++i) ASSERT_EQ(Pixels8[2][i], 0);
    RGBQUAD table[256];
    ASSERT_EQ(TAV_GetColorTable(table), 0);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(table[i].rgbRed, i);
        ASSERT_EQ(table[i].rgbGreen, i);
        ASSERT_EQ(table[i].rgbBlue, i);
    }
    EXPECT_EQ(Title(2).substr(Title(2).size() - 6), "[8bit]");
    ASSERT_EQ(TAV_CreateImage8FL(4, "free", 0, 0, 5, 3, 100), 0);
    EXPECT_EQ(ImageTable[4].limitMode, 0);
    EXPECT_EQ(ImageTable[4].zoom, 100); // no minimum to raise it to
    EXPECT_EQ(ClientSize(4).cx, 5);
    EXPECT_EQ(ClientSize(4).cy, 3);
}

TEST_F(ImageWindows, TenByTenAtZoom1000)
{
    ASSERT_EQ(TAV_CreateImageFL(5, "ten", 0, 0, 10, 10, 1000), 0);
    EXPECT_EQ(ImageTable[5].zoom, 1000);
    EXPECT_EQ(ClientSize(5).cx, 100);
    EXPECT_EQ(ClientSize(5).cy, 100);
    EXPECT_EQ(Title(5), "ten(1000%)");

    // Bounded by the screen, the zoom is raised further if the system's
    // smallest window is wider than 100 pixels.
    ASSERT_EQ(TAV_CreateImage(6, "ten", 0, 200, 10, 10, 1000), 0);
    const ClientSizeLimits limits = GetClientSizeLimits(1);
    const int zoom = std::max(1000, (limits.minWidth * 100 + 9) / 10);
    EXPECT_EQ(ImageTable[6].zoom, zoom);
    EXPECT_EQ(ClientSize(6).cx, zoom / 10);
    EXPECT_EQ(ClientSize(6).cy, zoom / 10);
    EXPECT_EQ(Title(6), "ten(" + std::to_string(zoom) + "%)");
}

TEST_F(ImageWindows, RefusalsChangeNothing)
{
    ASSERT_EQ(TAV_CreateImage(7, "kept", 0, 0, 200, 100, 100), 0);
    ASSERT_EQ(TAV_CreateImageFL(8, "other", 0, 0, 8, 8, 100), 0); // 7 is in the history
    const int windows = CountImageWindows();
    struct Case { int result; int got; };
    const Case cases[] = {
        {4, TAV_CreateImage(256, "x", 0, 0, 8, 8, 100)},
        {4, TAV_CreateImage(-1, "x", 0, 0, 8, 8, 100)},
        {1, TAV_CreateImage(7, "x", 0, 0, 8, 8, 100)},
        {3, TAV_CreateImage(9, "x", 0, 0, 8, 8, 100, 16)},
        {2, TAV_CreateImage(9, "strip", 0, 0, 100000, 1, 100)},
        {1, TAV_DestroyImage(9)},
        {1, TAV_DestroyImage(-1)},
        {1, TAV_ShowImage(256)},
        {1, TAV_ZoomImage(9, 50)},
        {1, TAV_SetStretchMode(9, HALFTONE)},
        {0, TAV_GetStretchMode(9)},
        {1, TAV_ResizeImage(9, 5, 5)},
        {2, TAV_SetColorTable(nullptr, 0)}, // current image 8 is 32-bit
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) EXPECT_EQ(cases[i].got, cases[i].result) << i;
    EXPECT_FALSE(ImageInUse(9));
    EXPECT_EQ(CountImageWindows(), windows);
    EXPECT_EQ(CurrentImage, 8);
    EXPECT_EQ(SelectionHistory[0], 7);
    EXPECT_EQ(Title(7), "kept(100%)");

    TAV_DestroyImage(8); // the current image is gone
    RGBQUAD table[256];
    EXPECT_EQ(TAV_SetColorTable(table, 256), 1);
    EXPECT_EQ(TAV_GetColorTable(table), 1);
}

TEST_F(ImageWindows, TooLargeForMemoryLeavesNothingBehind)
{
    ASSERT_EQ(TAV_CreateImage(6, "before", 0, 0, 8, 8, 100), 0);
    const int windows = CountImageWindows();
    const DWORD objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    EXPECT_EQ(TAV_CreateImage(12, "huge", 0, 0, 40000, 40000, 100), 3);
    EXPECT_EQ(TAV_CreateImage8(13, "huge", 0, 0, 65536, 40000, 100), 3);
    EXPECT_FALSE(ImageInUse(12));
    EXPECT_FALSE(ImageInUse(13));
    EXPECT_EQ(ImageTable[12].window, nullptr);
    EXPECT_EQ(ImageTable[12].name, nullptr);
    EXPECT_EQ(CountImageWindows(), windows);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), objects);
    EXPECT_EQ(CurrentImage, 6);
    EXPECT_EQ(TAV_CreateImage(12, "after", 0, 0, 8, 8, 100), 0); // the slot is free for use
}

TEST_F(ImageWindows, ResizeKeepsNamePositionColourTableAndStretchMode)
{
    ASSERT_EQ(TAV_CreateImage8(20, "depth", 40, 60, 150, 40, 100), 0);
    RGBQUAD colors[256];
    for (int i = 0; i < 256; ++i) colors[i] = RGBQUAD{(BYTE)(255 - i), (BYTE)i, (BYTE)(i / 2), 0};
    ASSERT_EQ(TAV_SetColorTable(colors, 256), 0);
    ASSERT_EQ(TAV_SetStretchMode(20, HALFTONE), 0);
    memset(Pixels8[20], 77, (size_t)Stride8(150) * 40);
    const RECT before = Outer(20);
    ASSERT_EQ(TAV_CreateImage(21, "other", 0, 0, 8, 8, 100), 0); // another image current

    ASSERT_EQ(TAV_ResizeImage(20, 190, 30), 0);
    const ImageSlot& s = ImageTable[20];
    EXPECT_EQ(s.width, 190);
    EXPECT_EQ(s.height, 30);
    EXPECT_EQ(s.bits, 8);
    const RECT after = Outer(20);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(TAV_GetStretchMode(20), HALFTONE);
    EXPECT_EQ(Title(20), "depth(100%)[8bit]*");
    EXPECT_EQ(CurrentImage, 20);
    RGBQUAD table[256];
    ASSERT_EQ(TAV_GetColorTable(table), 0);
    EXPECT_EQ(0, memcmp(table, colors, sizeof table));
    for (int i = 0; i < Stride8(190) * 30; ++i) ASSERT_EQ(Pixels8[20][i], 0);
}

TEST_F(ImageWindows, TitlesShowZoomDepthAndHalftone)
{
    ASSERT_EQ(TAV_CreateImage(30, "photo", 0, 0, 120, 90, 100), 0);
    EXPECT_EQ(Title(30), "photo(100%)");
    ASSERT_EQ(TAV_SetStretchMode(30, HALFTONE), 0);
    EXPECT_EQ(Title(30), "photo(100%)*");
    ASSERT_EQ(TAV_SetStretchMode(30, 7), 0); // not a mode: nothing changes
    EXPECT_EQ(TAV_GetStretchMode(30), HALFTONE);
    EXPECT_EQ(Title(30), "photo(100%)*");
    ASSERT_EQ(TAV_SetStretchMode(30, COLORONCOLOR), 0);
    EXPECT_EQ(Title(30), "photo(100%)");

    ASSERT_EQ(TAV_CreateImage8(31, "depth", 0, 0, 1000, 700, 38), 0);
    ASSERT_EQ(TAV_SetStretchMode(31, HALFTONE), 0);
    EXPECT_EQ(Title(31), "depth(38%)[8bit]*");

    const std::string longName(400, 'n');
    ASSERT_EQ(TAV_CreateImage8(32, longName.c_str(), 0, 0, 120, 90, 100), 0);
    EXPECT_EQ(Title(32), std::string(255 - 12, 'n') + "(100%)[8bit]");
    EXPECT_EQ(std::string(ImageTable[32].name), longName); // the name itself is whole
}

TEST_F(ImageWindows, ZoomChangesTheClientAreaAndKeepsTheFrame)
{
    ASSERT_EQ(TAV_CreateImage(40, "zoom", 20, 30, 200, 120, 100), 0);
    const RECT before = Outer(40);
    ASSERT_EQ(TAV_ZoomImage(40, 150), 0);
    const RECT after = Outer(40);
    EXPECT_EQ(ClientSize(40).cx, 300);
    EXPECT_EQ(ClientSize(40).cy, 180);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left + 100);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + 60);
    EXPECT_EQ(Title(40), "zoom(150%)");
    EXPECT_TRUE(ImageInUse(40));

    // Far too large a request gets the largest zoom that fits the screen.
    ASSERT_EQ(TAV_ZoomImage(40, 100000), 0);
    const ClientSizeLimits limits = GetClientSizeLimits(1);
    const int fitted = std::min(limits.maxWidth * 100 / 200, limits.maxHeight * 100 / 120);
    EXPECT_EQ(ImageTable[40].zoom, fitted);
    EXPECT_EQ(ClientSize(40).cx, 200 * fitted / 100);
    EXPECT_EQ(ClientSize(40).cy, 120 * fitted / 100);
    EXPECT_EQ(Title(40), "zoom(" + std::to_string(fitted) + "%)");
}

TEST_F(ImageWindows, FreeWindowsGrowPastTheScreen)
{
    const ClientSizeLimits free = GetClientSizeLimits(0);
    const int width = free.maxWidth / 4, height = free.maxHeight / 4;
    ASSERT_EQ(TAV_CreateImageFL(42, "big", 0, 0, width, height, 100), 0);
    const RECT before = Outer(42);
    ASSERT_EQ(TAV_ZoomImage(42, 350), 0);
    EXPECT_EQ(ClientSize(42).cx, width * 350 / 100);
    EXPECT_EQ(ClientSize(42).cy, height * 350 / 100);
    EXPECT_GT(ClientSize(42).cx, GetSystemMetrics(SM_CXSCREEN));
    const RECT after = Outer(42);
    EXPECT_EQ(after.right - after.left, before.right - before.left + width * 350 / 100 - width);
}

TEST_F(ImageWindows, HalftoneDisplayFollowsTheZoom)
{
    ASSERT_EQ(TAV_CreateImageFL(41, "follow", 0, 0, 200, 100, 50), 0);
    FillCheckerboard(41);
    TAV_SetStretchMode(41, HALFTONE);
    TAV_ShowImage(41);
    EXPECT_EQ(DisplayBuffers[41].width, 100);
    ASSERT_EQ(TAV_ZoomImage(41, 25), 0);
    EXPECT_EQ(DisplayBuffers[41].dib, nullptr); // dropped with the old size
    TAV_ShowImage(41);
    EXPECT_EQ(DisplayBuffers[41].width, 50);
    EXPECT_EQ(DisplayBuffers[41].height, 25);
    for (uint32_t c : ReadClient(Window(41), 50, 25)) ASSERT_TRUE(IsGrey(c, 112, 143)) << std::hex << c;
}

TEST_F(ImageWindows, RequestsCreateAndShowOnTheWorker)
{
    GuiRequestBlock b = {};
    b.number = 50; b.title = "dropped"; b.x = -1; b.y = -1;
    b.width = 160; b.height = 48; b.zoom = 100; b.bits = 32;
    ASSERT_TRUE(ExecuteGuiRequest(GUIREQ_CREATEIMAGE, b));
    EXPECT_EQ(b.result, 0);
    EXPECT_EQ(Title(50), "dropped(100%)");
    b.result = -7;
    ASSERT_TRUE(ExecuteGuiRequest(GUIREQ_CREATEIMAGE, b));
    EXPECT_EQ(b.result, 1);
    b.number = 300;
    ASSERT_TRUE(ExecuteGuiRequest(GUIREQ_CREATEIMAGE, b));
    EXPECT_EQ(b.result, 4);
    for (int i = 0; i < 160 * 48; ++i) Pixels32[50][i] = 0xFF8000;
    b.number = 50;
    ASSERT_TRUE(ExecuteGuiRequest(GUIREQ_SHOWIMAGE, b));
    EXPECT_EQ(ReadClient(Window(50), 160, 48), std::vector<uint32_t>(160 * 48, 0xFF8000));
}

// All 256 images, both depths, some with a half-tone display buffer: after
// they are destroyed every window and GDI object they held is gone.
// Messages are handled only once the windows are gone: with Wine's own
// frames and its focus handed to X directly (the test prefix), windows of one
// thread shown in quick succession can pass the focus back and forth forever
// inside the message pump.
TEST_F(ImageWindows, AllImagesReleaseEveryObject)
{
    const DWORD objectsBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const int windowsBefore = CountImageWindows();
    std::vector<HGDIOBJ> objects;
    std::vector<HWND> windows;
    for (int n = 0; n < ImageCount; ++n) {
        const int x = (n % 16) * 20, y = (n / 16) * 20;
        ASSERT_EQ(n % 2 ? TAV_CreateImage8FL(n, "all", x, y, 64, 48, 50) : TAV_CreateImageFL(n, "all", x, y, 64, 48, 50),
                  0)
            << n;
        if (n % 3 == 0) {
            TAV_SetStretchMode(n, HALFTONE);
            TAV_ShowImage(n);
            ASSERT_NE(DisplayBuffers[n].dib, nullptr);
            objects.push_back((HGDIOBJ)DisplayBuffers[n].dib);
            objects.push_back((HGDIOBJ)DisplayBuffers[n].dc);
        }
        objects.push_back((HGDIOBJ)ImageTable[n].dib);
        objects.push_back((HGDIOBJ)ImageTable[n].memoryDC);
        windows.push_back(Window(n));
    }
    EXPECT_EQ(CountImageWindows(), windowsBefore + 256);
    const DWORD objectsWhileOpen = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int n = 0; n < ImageCount; ++n) ASSERT_EQ(TAV_DestroyImage(n), 0);
    TAV_ProcessMessages();

    for (HGDIOBJ object : objects) EXPECT_EQ(GetObjectType(object), 0u);
    for (HWND window : windows) EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(CountImageWindows(), windowsBefore);
    if (objectsWhileOpen > objectsBefore) // the platform counts GDI objects
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), objectsBefore);
    else
        printf("GetGuiResources counts no GDI objects here (%lu); each handle was checked instead\n",
               (unsigned long)objectsWhileOpen);
}

} // namespace
