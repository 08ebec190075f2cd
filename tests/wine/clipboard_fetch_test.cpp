// Clipboard pictures: well-formed CF_DIB blocks of several depths and CF_BITMAP
// become bitmaps that paste exactly; blocks whose fields disagree with their
// real size are no picture; and the main window's popup menu greying.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "console/line_input_state.h"
#include "image/image_io_win32.h"
#include "image/image_table.h"
#include "shell/shell_win32.h"
#include "tavkit.h"

HMENU BuildMainPopupMenu(void);

namespace {

// Owns the clipboard through a hidden window while a test puts data on it.
struct Clipboard : testing::Test {
    HWND owner = nullptr;
    void SetUp() override
    {
        owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, ProgramInstance, nullptr);
        ASSERT_TRUE(owner);
    }
    void TearDown() override
    {
        if (OpenClipboard(owner)) {
            EmptyClipboard();
            CloseClipboard();
        }
        DestroyWindow(owner);
        for (int n = 0; n < ImageCount; ++n)
            if (ImageTable[n].inUse) TAV_DestroyImage(n);
    }
    // Puts `bytes` on the clipboard as a block of exactly that size.
    void PutBlock(UINT format, const std::vector<uint8_t>& bytes)
    {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        ASSERT_TRUE(block);
        memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        ASSERT_TRUE(OpenClipboard(owner));
        EmptyClipboard();
        ASSERT_TRUE(SetClipboardData(format, block));
        CloseClipboard();
    }
    void PutBitmap(HBITMAP bitmap)
    {
        ASSERT_TRUE(OpenClipboard(owner));
        EmptyClipboard();
        ASSERT_TRUE(SetClipboardData(CF_BITMAP, bitmap));
        CloseClipboard();
    }
    // Pastes `bitmap` into a new 32-bit image 0 of w x h and returns its pixels.
    static std::vector<uint32_t> PasteIntoNewImage(HBITMAP bitmap, int w, int h)
    {
        EXPECT_EQ(TAV_CreateImage(0, "paste", -1, -1, w, h, 100, 32), 0);
        GdiFlush();
        for (int i = 0; i < w * h; ++i) Pixels32[0][i] = 0x123456;
        PasteBitmapToCurrentImage(bitmap);
        GdiFlush();
        return std::vector<uint32_t>(Pixels32[0], Pixels32[0] + w * h);
    }
};

struct Dib {
    std::vector<uint8_t> bytes;
    Dib(int width, int height, int bits, int colorsUsed, int tableEntries, size_t rowBytes)
        : bytes(40 + 4 * (size_t)tableEntries + rowBytes, 0)
    {
        BITMAPINFOHEADER h = {};
        h.biSize = 40;
        h.biWidth = width;
        h.biHeight = height;
        h.biPlanes = 1;
        h.biBitCount = (WORD)bits;
        h.biClrUsed = (DWORD)colorsUsed;
        memcpy(bytes.data(), &h, sizeof h);
    }
    BITMAPINFOHEADER& Header() { return *(BITMAPINFOHEADER*)bytes.data(); }
    uint8_t* At(size_t offset) { return bytes.data() + offset; }
};

uint32_t Sixteen(int i) { return (uint32_t)(i * 16) << 16 | (uint32_t)(255 - i) << 8 | (uint32_t)(i * 3); }

// A 5 x 3 bottom-up 8-bit picture using 16 colours: pixel (x, y) is entry (x + 2y) % 16.
Dib EightBitPicture()
{
    Dib d(5, 3, 8, 16, 16, 8 * 3);
    for (int i = 0; i < 16; ++i) {
        RGBQUAD q = {(BYTE)Sixteen(i), (BYTE)(Sixteen(i) >> 8), (BYTE)(Sixteen(i) >> 16), 0};
        memcpy(d.At(40 + 4 * i), &q, 4);
    }
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) *d.At(40 + 64 + (size_t)(2 - y) * 8 + x) = (uint8_t)((x + 2 * y) % 16);
    return d;
}

TEST_F(Clipboard, EightBitBlockGivesItsPixelsAndColourTable)
{
    Dib d = EightBitPicture();
    PutBlock(CF_DIB, d.bytes);
    RGBQUAD colors[256] = {};
    int count = -1;
    HBITMAP bitmap = FetchClipboardBitmap(colors, &count);
    ASSERT_TRUE(bitmap);
    ASSERT_EQ(count, 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ((uint32_t)colors[i].rgbRed << 16 | colors[i].rgbGreen << 8 | colors[i].rgbBlue, Sixteen(i));
    BITMAP info;
    ASSERT_TRUE(GetObjectW(bitmap, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 5);
    EXPECT_EQ(info.bmHeight, 3);
    // Pasted into a larger image: the picture at (0, 0), the rest untouched.
    std::vector<uint32_t> pixels = PasteIntoNewImage(bitmap, 7, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(pixels[y * 7 + x], x < 5 && y < 3 ? Sixteen((x + 2 * y) % 16) : 0x123456u) << x << "," << y;
}

TEST_F(Clipboard, TopDownAndOddWidthColourBlocksAndClipping)
{
    // 3 x 2 24-bit rows of 12 bytes (9 of colour padded), stored top row first.
    Dib d(3, -2, 24, 0, 0, 24);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            uint8_t* p = d.At(40 + (size_t)y * 12 + 3 * x);
            p[0] = (uint8_t)(10 * x + 1); p[1] = (uint8_t)(100 + y); p[2] = 200;
        }
    PutBlock(CF_DIB, d.bytes);
    RGBQUAD colors[256];
    int count = -1;
    HBITMAP bitmap = FetchClipboardBitmap(colors, &count);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(count, 0);
    std::vector<uint32_t> pixels = PasteIntoNewImage(bitmap, 2, 1); // smaller than the picture
    EXPECT_EQ(pixels[0], 0xC86401u);
    EXPECT_EQ(pixels[1], 0xC8640Bu);
}

TEST_F(Clipboard, DeviceDependentBitmapIsCopied)
{
    HDC screen = GetDC(nullptr);
    HBITMAP source = CreateCompatibleBitmap(screen, 4, 2);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(dc, source);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) SetPixel(dc, x, y, RGB(x * 60, y * 200, 33));
    SelectObject(dc, previous);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    PutBitmap(source); // the clipboard owns it now

    RGBQUAD colors[256];
    int count = -1;
    HBITMAP bitmap = FetchClipboardBitmap(colors, &count);
    ASSERT_TRUE(bitmap);
    EXPECT_NE(bitmap, source);
    EXPECT_EQ(count, 0);
    std::vector<uint32_t> pixels = PasteIntoNewImage(bitmap, 4, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(pixels[y * 4 + x], (uint32_t)(x * 60) << 16 | (uint32_t)(y * 200) << 8 | 33);
}

TEST_F(Clipboard, InconsistentBlocksAreNoPicture)
{
    struct Case { const char* what; Dib dib; size_t cutTo; };
    std::vector<Case> cases;
    auto add = [&](const char* what, Dib d, size_t cut = 0) { cases.push_back({what, d, cut}); };
    add("rows beyond the block", Dib(100, 100, 24, 0, 0, 0));
    add("colour table beyond the block", Dib(4, 1, 8, 0, 0, 4));
    { Dib d(3, 2, 24, 0, 0, 24); d.Header().biWidth = -3; add("negative width", d); }
    { Dib d(3, 2, 24, 0, 0, 24); d.Header().biHeight = INT_MIN; add("height INT_MIN", d); }
    { Dib d(3, 2, 24, 0, 0, 24); d.Header().biBitCount = 7; add("7 bits", d); }
    { Dib d(3, 2, 8, 0, 256, 8); d.Header().biCompression = BI_RLE8; add("run-length rows", d); }
    { Dib d(3, 2, 8, 0, 256, 8); d.Header().biClrUsed = 0x40000000; add("huge colours-used", d); }
    { Dib d(3, 2, 24, 0, 0, 24); d.Header().biSize = 0x7FFFFFFF; add("huge header size", d); }
    { Dib d(3, 2, 24, 0, 0, 24); d.Header().biPlanes = 3; add("3 planes", d); }
    { Dib d(60000, 60000, 1, 0, 2, 64); add("huge picture, small block", d); }
    add("header cut short", Dib(3, 2, 24, 0, 0, 24), 20);
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = c.dib.bytes;
        if (c.cutTo) bytes.resize(c.cutTo);
        PutBlock(CF_DIB, bytes);
        RGBQUAD colors[256];
        int count = -1;
        HBITMAP bitmap = FetchClipboardBitmap(colors, &count);
        EXPECT_FALSE(bitmap);
        EXPECT_EQ(count, 0);
        if (bitmap) DeleteObject(bitmap);
    }
}

TEST_F(Clipboard, EmptyClipboardGivesNothing)
{
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    CloseClipboard();
    RGBQUAD colors[256];
    int count = -1;
    EXPECT_FALSE(FetchClipboardBitmap(colors, &count));
    EXPECT_EQ(count, 0);
    // Pasting into no image only frees the bitmap.
    HBITMAP lone = CreateBitmap(2, 2, 1, 32, nullptr);
    ClearImageTable();
    PasteBitmapToCurrentImage(lone);
    EXPECT_EQ(GetObjectType(lone), 0u);
}

TEST(MainPopupMenu, GreysCreationItemsWhileRunningOrWaitingForALine)
{
    struct Case { int running, inputOwner; UINT greyed; };
    const Case cases[] = {{0, 0, 0}, {1, 0, MF_GRAYED}, {0, 1, MF_GRAYED}};
    const int commands[] = {1026, 0, 1001, 1003, 1002, 0, 1027, 1028, 1044, 1051, 0, 1045};
    const bool greyable[] = {true, false, true, false, false, false, true, true, true, true, false, true};
    for (const Case& c : cases) {
        UserProgramRunning.store(c.running);
        InputOwner.store(c.inputOwner);
        HMENU menu = BuildMainPopupMenu();
        ASSERT_EQ(GetMenuItemCount(menu), 12);
        for (int i = 0; i < 12; ++i) {
            UINT state = GetMenuState(menu, (UINT)i, MF_BYPOSITION);
            if (commands[i] == 0) {
                EXPECT_TRUE(state & MF_SEPARATOR) << i;
                continue;
            }
            EXPECT_EQ(GetMenuItemID(menu, i), (UINT)commands[i]);
            EXPECT_EQ(state & MF_GRAYED, greyable[i] ? c.greyed : 0u) << "item " << i;
        }
        wchar_t text[64];
        GetMenuStringW(menu, 11, text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, L"&Window Info.\tCtrl+W");
        DestroyMenu(menu);
    }
    UserProgramRunning.store(0);
    InputOwner.store(0);
}

} // namespace
