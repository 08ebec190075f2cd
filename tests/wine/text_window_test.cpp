// Text windows on the window system: opening, closing and selecting, output
// into the backing bitmap, scrolling, resize, repaint, the colour stack, the
// GDI objects of 256 windows, and the GUI thread's opening and printing.
// The test thread plays the worker thread; there is no main window (owner 0).
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "console/line_input_state.h"
#include "dc_pixels.h"
#include "console/text_window_win32.h"
#include "shell/shell_win32.h"
#include "tavkit.h"

namespace {

TextWindowSlot& Slot(int n) { return TextWindowTable[n]; }

// The pixels of a text window's backing bitmap as 0x00RRGGBB, row by row.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[(size_t)y * width + x] & 0xFFFFFF; }
    // Pixels in [x0, x1) x [y0, y1) that are not black.
    int InkIn(int x0, int y0, int x1, int y1) const
    {
        int ink = 0;
        for (int y = y0; y < y1 && y < height; ++y)
            for (int x = x0; x < x1 && x < width; ++x) ink += At(x, y) != 0;
        return ink;
    }
    int Count(uint32_t color) const
    {
        int n = 0;
        for (uint32_t p : pixels) n += (p & 0xFFFFFF) == color;
        return n;
    }
};

Picture ReadBitmap(int n)
{
    std::lock_guard<std::mutex> guard(TextWindowLock);
    Picture p;
    p.width = Slot(n).width;
    p.height = Slot(n).height;
    p.pixels = CopyDcPixels((HDC)Slot(n).memoryDC, p.width, p.height);
    return p;
}

SIZE ClientSize(HWND window)
{
    RECT r;
    GetClientRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void CloseAll()
{
    for (int n = 0; n < TextWindowCount; ++n) TAV_CloseTextWindow(n);
    TAV_ProcessMessages();
    ClearTextWindowTable();
}

struct TextWindows : testing::Test {
    void SetUp() override { CloseAll(); }
    void TearDown() override { CloseAll(); }
};

TEST_F(TextWindows, OpenCloseAndSelectCodes)
{
    EXPECT_EQ(TAV_OpenTextWindow(3, 10, 10, 200, 100), 0);
    EXPECT_EQ(CurrentTextWindow, 3);
    HWND window = TextWindowHandle(3);
    ASSERT_TRUE(window);
    EXPECT_EQ(FindTextWindow(window), 3);
    EXPECT_EQ(FindTextWindow(nullptr), -1);

    EXPECT_EQ(TAV_OpenTextWindow(8, 20, 20, 200, 100), 0);
    EXPECT_EQ(CurrentTextWindow, 8);
    // An open number: brought forward and made current, size and place kept.
    RECT before;
    GetWindowRect(window, &before);
    EXPECT_EQ(TAV_OpenTextWindow(3, 300, 300, 50, 50), 1);
    EXPECT_EQ(CurrentTextWindow, 3);
    RECT after;
    GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(Slot(3).width, 200);

    struct Case { int number; int select, close; };
    const Case refused[] = {{256, 1, 1}, {-1, 1, 1}, {4, 1, 1}, {1000, 1, 1}};
    for (const Case& c : refused) {
        EXPECT_EQ(TAV_SelectTextWindow(c.number), c.select) << c.number;
        EXPECT_EQ(TAV_CloseTextWindow(c.number), c.close) << c.number;
    }
    EXPECT_EQ(CurrentTextWindow, 3);
    EXPECT_EQ(TAV_OpenTextWindow(256, 0, 0, 10, 10), 2);
    EXPECT_EQ(TAV_OpenTextWindow(-1, 0, 0, 10, 10), 2);

    EXPECT_EQ(TAV_SelectTextWindow(8), 0);
    EXPECT_EQ(CurrentTextWindow, 8);
    EXPECT_EQ(TAV_CloseTextWindow(3), 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(TAV_CloseTextWindow(3), 1);
    EXPECT_EQ(TAV_SelectTextWindow(3), 1);
    EXPECT_EQ(CurrentTextWindow, 8);
}

TEST_F(TextWindows, NewWindowStartsEmptyWhiteOnBlack)
{
    ASSERT_EQ(TAV_OpenTextWindow(0, -1, -1, -1, -1), 0);
    HWND window = TextWindowHandle(0);
    SIZE client = ClientSize(window);
    EXPECT_EQ(client.cx, 400);
    EXPECT_EQ(client.cy, 300);
    EXPECT_EQ(Slot(0).width, 400);
    EXPECT_EQ(Slot(0).height, 300);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_GT(Slot(0).cellWidth, 0);
    EXPECT_GT(Slot(0).lineHeight, 0);
    EXPECT_EQ(Slot(0).textColor, 0xFFFFFFu);
    EXPECT_EQ(Slot(0).backColor, 0u);
    EXPECT_EQ(Slot(0).logState, 0);
    wchar_t title[64];
    GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"TextWindow 0");
    Picture p = ReadBitmap(0);
    EXPECT_EQ(p.InkIn(0, 0, p.width, p.height), 0);

    // A default x with a given y: the system places the window and shows it
    // normally (y is not taken as a show command).
    const int ys[] = {0, 3};
    for (int y : ys) {
        ASSERT_EQ(TAV_OpenTextWindow(1, -1, y, 200, 100), 0);
        EXPECT_TRUE(IsWindowVisible(TextWindowHandle(1))) << y;
        EXPECT_FALSE(IsZoomed(TextWindowHandle(1))) << y;
        EXPECT_EQ(ClientSize(TextWindowHandle(1)).cx, 200) << y;
        TAV_CloseTextWindow(1);
    }
}

TEST_F(TextWindows, EmptyAndImpossibleSizes)
{
    // No pixels at all: output only moves the cursor.
    ASSERT_EQ(TAV_OpenTextWindow(9, 0, 0, 0, 0), 0);
    TAV_Printf("abc\nd");
    EXPECT_EQ(Slot(9).cursorY, 0);
    EXPECT_EQ(TAV_CloseTextWindow(9), 0);

    // A bitmap too large for memory: refused, and nothing is left behind.
    EXPECT_EQ(TAV_OpenTextWindow(9, 0, 0, 200000, 200000), 3);
    EXPECT_FALSE(TextWindowIsOpen(9));
    EXPECT_FALSE(FindWindowW(L"tav_twi", L"TextWindow 9"));
    EXPECT_EQ(TAV_CloseTextWindow(9), 1);
}

TEST_F(TextWindows, PrintedTextReachesTheBackingBitmap)
{
    ASSERT_EQ(TAV_OpenTextWindow(2, 0, 0, 300, 120), 0);
    const int cw = Slot(2).cellWidth, lh = Slot(2).lineHeight;
    TAV_Printf("%s %d", "Hi", 42);
    EXPECT_EQ(Slot(2).cursorX, 5 * cw);
    EXPECT_EQ(Slot(2).cursorY, 0);
    Picture p = ReadBitmap(2);
    EXPECT_GT(p.Count(0xFFFFFF), 10);             // white text ...
    EXPECT_GT(p.InkIn(0, 0, 2 * cw, lh), 0);      // ... in the first cells
    EXPECT_GT(p.InkIn(3 * cw, 0, 5 * cw, lh), 0);
    EXPECT_EQ(p.InkIn(0, lh, p.width, p.height), 0); // nothing below the first line

    // A unit from 0x80 on takes two cells; the next character starts after them.
    TAV_Printf("\n\xE9M");
    EXPECT_EQ(Slot(2).cursorX, 3 * cw);
    EXPECT_EQ(Slot(2).cursorY, lh);
    p = ReadBitmap(2);
    EXPECT_GT(p.InkIn(2 * cw, lh, 3 * cw, 2 * lh), 0);
}

TEST_F(TextWindows, CellsAndCaretDrawAtTheCursor)
{
    ASSERT_EQ(TAV_OpenTextWindow(2, 0, 0, 300, 120), 0);
    const int cw = Slot(2).cellWidth, lh = Slot(2).lineHeight;
    TAV_Printf("ab");
    DrawCaret(1);
    EXPECT_GT(ReadBitmap(2).InkIn(2 * cw, 0, 3 * cw, lh), 0);
    DrawCaret(0);
    EXPECT_EQ(ReadBitmap(2).InkIn(2 * cw, 0, 3 * cw, lh), 0);
    EXPECT_EQ(Slot(2).cursorX, 2 * cw); // the caret does not move the cursor
    DrawCell(L'W', 0, lh, 2);
    Picture p = ReadBitmap(2);
    EXPECT_GT(p.InkIn(0, lh, 2 * cw, 2 * lh), 0);
    EXPECT_EQ(p.InkIn(2 * cw, lh, p.width, 2 * lh), 0);
}

TEST_F(TextWindows, ColourStackColoursTheCells)
{
    ASSERT_EQ(TAV_OpenTextWindow(2, 0, 0, 300, 120), 0);
    const int cw = Slot(2).cellWidth, lh = Slot(2).lineHeight;
    TAV_PushTextColor(0xFF0000, 0x0000FF); // red on blue
    TAV_Printf("MW");
    TAV_PopTextColor();
    TAV_Printf("MW");
    EXPECT_EQ(Slot(2).textColor, 0xFFFFFFu);
    Picture p = ReadBitmap(2);
    int red = 0, blue = 0, white = 0;
    for (int y = 0; y < lh; ++y)
        for (int x = 0; x < 4 * cw; ++x) {
            uint32_t c = p.At(x, y);
            if (x < 2 * cw) {
                red += c == 0xFF0000;
                blue += c == 0x0000FF;
            } else {
                white += c == 0xFFFFFF;
            }
        }
    EXPECT_GT(red, 0);
    EXPECT_GT(blue, 0);
    EXPECT_GT(white, 0);

    // With no window open, push, pop and print change nothing and draw nothing.
    TAV_CloseTextWindow(2);
    TAV_PushTextColor(1, 2);
    TAV_PopTextColor();
    TAV_Printf("ignored");
}

TEST_F(TextWindows, ScrollMovesThePictureUpOneLine)
{
    ASSERT_EQ(TAV_OpenTextWindow(0, 0, 0, 200, 100), 0);
    HWND window = TextWindowHandle(0);
    const int lh = Slot(0).lineHeight;
    // Three lines high plus one pixel: lines at 0, lh, 2lh fit, 3lh does not.
    RECT r = {0, 0, 200, 3 * lh + 1};
    AdjustWindowRect(&r, GetWindowLongW(window, GWL_STYLE), FALSE);
    SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_EQ(Slot(0).height, 3 * lh + 1);
    TAV_Printf("\nM\n");
    Picture before = ReadBitmap(0);
    EXPECT_GT(before.InkIn(0, lh, 200, 2 * lh), 0); // M on the second line
    EXPECT_EQ(before.InkIn(0, 0, 200, lh), 0);
    TAV_Printf("\n");
    EXPECT_EQ(Slot(0).cursorY, 2 * lh);
    Picture p = ReadBitmap(0);
    EXPECT_GT(p.InkIn(0, 0, 200, lh), 0);       // M is now on the top line
    EXPECT_EQ(p.InkIn(0, lh, 200, p.height), 0); // and nowhere else
    EXPECT_EQ(ScrollIfFull(0), 0);
    EXPECT_EQ(ScrollIfFull(9), 0);
}

TEST_F(TextWindows, LongOutputIsCutAtTheFormatBuffer)
{
    ASSERT_EQ(TAV_OpenTextWindow(4, 0, 0, 400, 300), 0);
    const int cw = Slot(4).cellWidth;
    const int perLine = 400 / cw;
    FILE* log = tmpfile();
    ASSERT_TRUE(log);
    Slot(4).logFile = log;
    Slot(4).logState = 1;
    std::string big(6000, 'x');
    TAV_Printf("%s", big.c_str());
    // 4095 characters were laid out: the cursor is where the 4095th ends.
    EXPECT_EQ(Slot(4).cursorX, ((4095 - 1) % perLine + 1) * cw);
    EXPECT_LT(Slot(4).cursorY + Slot(4).lineHeight, 300); // scrolled, not past the bottom
    EXPECT_EQ(ftell(log), 4095L);
    Slot(4).logState = 0;
    Slot(4).logFile = nullptr;
    fclose(log);
}

TEST_F(TextWindows, ResizeClearsAndRepaintCopiesTheBitmap)
{
    ASSERT_EQ(TAV_OpenTextWindow(5, 0, 0, 200, 100), 0);
    HWND window = TextWindowHandle(5);
    TAV_Printf("Hello\nworld");
    ASSERT_GT(ReadBitmap(5).InkIn(0, 0, 200, 100), 0);

    // Repaint: the whole client area shows the bitmap.
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    HDC dc = GetDC(window);
    Picture p = ReadBitmap(5);
    int shown = 0, same = 0;
    for (int y = 0; y < p.height; y += 2)
        for (int x = 0; x < p.width; x += 2) {
            COLORREF c = GetPixel(dc, x, y);
            shown += c != CLR_INVALID;
            same += c != CLR_INVALID && ColorWordToColorRef(p.At(x, y)) == (c & 0xFFFFFF);
        }
    ReleaseDC(window, dc);
    EXPECT_GT(shown, 0);
    EXPECT_EQ(same, shown);

    RECT r = {0, 0, 260, 130};
    AdjustWindowRect(&r, GetWindowLongW(window, GWL_STYLE), FALSE);
    SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Slot(5).width, 260);
    EXPECT_EQ(Slot(5).height, 130);
    EXPECT_EQ(Slot(5).cursorX, 0);
    EXPECT_EQ(Slot(5).cursorY, 0);
    p = ReadBitmap(5);
    EXPECT_EQ(p.width, 260);
    EXPECT_EQ(p.InkIn(0, 0, p.width, p.height), 0);
    // Colours survive the new memory context.
    TAV_PushTextColor(0x00FF00, 0);
    TAV_Printf("M");
    EXPECT_GT(ReadBitmap(5).Count(0x00FF00), 0);
}

TEST_F(TextWindows, ClosingTheCurrentWindowMakesTheLowestOpenOneCurrent)
{
    for (int n : {7, 4, 9}) ASSERT_EQ(TAV_OpenTextWindow(n, 0, 0, 100, 60), 0);
    EXPECT_EQ(CurrentTextWindow, 9);
    TAV_CloseTextWindow(9);
    EXPECT_EQ(CurrentTextWindow, 4);
    TAV_SelectTextWindow(7);
    TAV_CloseTextWindow(4); // not the current one
    EXPECT_EQ(CurrentTextWindow, 7);

    // Closing the window that waits for a line abandons the input.
    InputOwner.store(7 + 1);
    SendMessageW(TextWindowHandle(7), WM_CLOSE, 0, 0); // the close box
    EXPECT_EQ(InputOwner.load(), 0);
    EXPECT_FALSE(TextWindowIsOpen(7));
    EXPECT_EQ(CurrentTextWindow, 7); // none open: the number stays
    TAV_Printf("nowhere");           // and output is silent

    // The default window: none open, so window 0 opens mid-screen.
    TAV_OpenDefaultTextWindow();
    ASSERT_TRUE(TextWindowIsOpen(0));
    EXPECT_EQ(CurrentTextWindow, 0);
    RECT r;
    GetWindowRect(TextWindowHandle(0), &r);
    EXPECT_EQ(r.left, GetSystemMetrics(SM_CXFULLSCREEN) / 2 - 200);
    EXPECT_EQ(r.top, GetSystemMetrics(SM_CYFULLSCREEN) / 2 - 150);
    EXPECT_EQ(ClientSize(TextWindowHandle(0)).cx, 400);
    // An open current window is only brought forward.
    TAV_OpenTextWindow(6, 0, 0, 100, 60);
    TAV_CloseTextWindow(0);
    TAV_OpenDefaultTextWindow();
    EXPECT_FALSE(TextWindowIsOpen(0));
    EXPECT_EQ(CurrentTextWindow, 6);
}

// The process's GDI objects as the system counts them; 0 where it does not
// count them (Wine), so the test below also checks each window's own objects.
DWORD GdiObjects() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

TEST_F(TextWindows, AllWindowsOpenAndCloseWithoutLeakingGdiObjects)
{
    // One window first, so objects made once per process are not counted.
    TAV_OpenTextWindow(0, 0, 0, 40, 30);
    TAV_CloseTextWindow(0);
    DWORD before = GdiObjects();
    struct Objects { HGDIOBJ memoryDC, windowDC, bitmap; };
    std::vector<Objects> made;
    for (int n = 0; n < TextWindowCount; ++n) {
        ASSERT_EQ(TAV_OpenTextWindow(n, n, n, 40, 30), 0) << n;
        made.push_back({Slot(n).memoryDC, Slot(n).windowDC, Slot(n).bitmap});
        EXPECT_EQ(GetObjectType(made[n].memoryDC), (DWORD)OBJ_MEMDC);
        EXPECT_EQ(GetObjectType(made[n].bitmap), (DWORD)OBJ_BITMAP);
    }
    EXPECT_EQ(TAV_OpenTextWindow(255, 0, 0, 40, 30), 1);
    DWORD open = GdiObjects();
    for (int n = 0; n < TextWindowCount; ++n) ASSERT_EQ(TAV_CloseTextWindow(n), 0) << n;
    int alive = 0;
    for (const Objects& o : made)
        alive += (GetObjectType(o.memoryDC) != 0) + (GetObjectType(o.bitmap) != 0) + (GetObjectType(o.windowDC) != 0);
    EXPECT_EQ(alive, 0);
    DWORD after = GdiObjects();
    if (before != 0) {
        EXPECT_GE(open, before + 2 * TextWindowCount);
        EXPECT_EQ(after, before);
    }
}

// ---- The GUI thread: opening through the request channel, printing ----------------

struct GuiThreadRun {
    std::atomic<int> done{0};
    HANDLE thread = nullptr;
    void (*body)(GuiThreadRun&) = nullptr;
    int result = -99;
    static DWORD WINAPI Main(LPVOID p)
    {
        GuiThreadRun* run = static_cast<GuiThreadRun*>(p);
        run->body(*run);
        run->done.store(1);
        return 0;
    }
    // Runs `b` on another thread while this thread serves requests and
    // messages as the worker would, until it ends (or 20 s pass).
    bool Run(void (*b)(GuiThreadRun&), void (*workerStep)(void))
    {
        body = b;
        thread = CreateThread(nullptr, 0, Main, this, 0, nullptr);
        uint32_t t0 = TAV_GetTime();
        while (!done.load() && TAV_GetTime() - t0 < 20000) {
            ServeGuiRequest(ExecuteGuiRequest);
            if (workerStep) workerStep();
            TAV_ProcessMessages();
        }
        bool finished = WaitForSingleObject(thread, 5000) == WAIT_OBJECT_0;
        CloseHandle(thread);
        return finished;
    }
};

TEST_F(TextWindows, GuiThreadOpensThroughTheRequestChannel)
{
    GuiThreadRun run;
    ASSERT_TRUE(run.Run([](GuiThreadRun&) { RequestOpenTextWindow(12); }, nullptr));
    ASSERT_TRUE(TextWindowIsOpen(12));
    EXPECT_EQ(GetWindowThreadProcessId(TextWindowHandle(12), nullptr), GetCurrentThreadId());
    EXPECT_EQ(ClientSize(TextWindowHandle(12)).cx, 400);
    EXPECT_EQ(ClientSize(TextWindowHandle(12)).cy, 300);
    // Asked again: only brought forward, nothing posted.
    ASSERT_TRUE(run.Run([](GuiThreadRun&) { RequestOpenTextWindow(12); }, nullptr));
    EXPECT_EQ(PendingRequest.load(), 0);
}

// While another thread prints, this one resizes and repaints the same window.
void ResizeBackAndForth(void)
{
    static int step = 0;
    HWND window = TextWindowHandle(1);
    int height = 60 + (step++ % 7) * 13;
    RECT r = {0, 0, 150 + (step % 3) * 10, height};
    AdjustWindowRect(&r, GetWindowLongW(window, GWL_STYLE), FALSE);
    SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

TEST_F(TextWindows, GuiThreadPrintsWhileTheWorkerResizes)
{
    ASSERT_EQ(TAV_OpenTextWindow(1, 0, 0, 150, 60), 0);
    DWORD before = GdiObjects();
    GuiThreadRun run;
    ASSERT_TRUE(run.Run(
        [](GuiThreadRun&) {
            for (int i = 0; i < 400; ++i) TAV_Printf("line %d \x82\xA0 abcdefghijklmnopqrstuvwxyz\n", i);
        },
        ResizeBackAndForth));
    const TextWindowSlot& s = Slot(1);
    EXPECT_GE(s.cursorY, 0);
    EXPECT_LT(s.cursorY, s.height);
    EXPECT_EQ(s.cursorX, 0);
    EXPECT_EQ(GdiObjects(), before);
    // Output still reaches the bitmap afterwards.
    TAV_Printf("ok");
    Picture p = ReadBitmap(1);
    EXPECT_GT(p.InkIn(0, s.cursorY, 2 * s.cellWidth, s.cursorY + s.lineHeight), 0);
}

} // namespace
