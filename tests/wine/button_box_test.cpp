// The button box under Wine: the test thread plays the worker thread, which
// owns the box and pumps its messages with TAV_ProcessMessages.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "boxes/button_box_win32.h"
#include "shell/shell_win32.h"
#include "tavkit.h"

namespace {

SIZE ClientSize(HWND window)
{
    RECT r;
    GetClientRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// A button's rectangle in the box's client coordinates.
RECT ButtonRect(int index)
{
    HWND button = GetDlgItem(ButtonBoxWindow, ButtonIdBase + index);
    RECT r = {};
    if (!button) return r;
    GetWindowRect(button, &r);
    MapWindowPoints(nullptr, ButtonBoxWindow, (POINT*)&r, 2);
    return r;
}

std::wstring Caption(HWND window)
{
    wchar_t text[1024];
    int n = GetWindowTextW(window, text, 1024);
    return std::wstring(text, n > 0 ? n : 0);
}

void PostKey(WPARAM key)
{
    PostMessageW(ButtonBoxWindow, WM_KEYDOWN, key, 1);
    TAV_ProcessMessages();
}

// Holds (or releases) the Control key in this thread's keyboard state.
void SetControl(bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Stands in for the main window: records the key-downs posted to it.
std::vector<WPARAM> MainKeys;
LRESULT CALLBACK MainSinkProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_KEYDOWN) MainKeys.push_back(wparam);
    return DefWindowProcW(window, message, wparam, lparam);
}

struct ButtonBox : testing::Test {
    void SetUp() override
    {
        ButtonWidth = StartButtonWidth;
        ButtonHeight = StartButtonHeight;
        for (int& c : ButtonClicks) c = 0;
    }
    void TearDown() override
    {
        SetControl(false);
        TAV_CloseButtonBox();
        TAV_ProcessMessages();
        MainWindow = nullptr;
        ButtonWidth = StartButtonWidth;
        ButtonHeight = StartButtonHeight;
    }
};

TEST_F(ButtonBox, OpensOnlyValidShapesAndOnlyOnce)
{
    TAV_OpenButtonBox(0, 0, 16, 16);
    ASSERT_TRUE(ButtonBoxWindow);
    HWND first = ButtonBoxWindow;
    EXPECT_EQ(TAV_ButtonBoxCount(), 256);
    EXPECT_EQ(Caption(GetDlgItem(first, ButtonIdBase + 0)), L"0");
    EXPECT_EQ(Caption(GetDlgItem(first, ButtonIdBase + 255)), L"255");
    EXPECT_EQ(GetDlgItem(first, ButtonIdBase + 256), nullptr);
    wchar_t cls[32];
    GetClassNameW(first, cls, 32);
    EXPECT_STREQ(cls, L"tav_bb");
    EXPECT_EQ(Caption(first), L"ButtonBox");

    TAV_OpenButtonBox(50, 50, 2, 2); // a second open changes nothing
    EXPECT_EQ(ButtonBoxWindow, first);
    EXPECT_EQ(TAV_ButtonBoxCount(), 256);
    TAV_CloseButtonBox();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(TAV_ButtonBoxCount(), 0);

    const int bad[][2] = {{16, 17}, {0, 5}, {5, 0}, {-2, -3}, {65536, 65536}};
    for (const auto& shape : bad) {
        TAV_OpenButtonBox(0, 0, shape[0], shape[1]);
        EXPECT_EQ(ButtonBoxWindow, nullptr) << shape[0] << "x" << shape[1];
        TAV_CloseButtonBox();
    }
}

TEST_F(ButtonBox, StartSizeGivesTheGridClientArea)
{
    TAV_OpenButtonBox(0, 0, 2, 13);
    ASSERT_TRUE(ButtonBoxWindow);
    SIZE s = ClientSize(ButtonBoxWindow);
    EXPECT_EQ(s.cx, 208);
    EXPECT_EQ(s.cy, 394);
    RECT last = ButtonRect(25);
    EXPECT_EQ(last.left, 106);
    EXPECT_EQ(last.top, 364);
    EXPECT_EQ(last.right - last.left, 98);
    EXPECT_EQ(last.bottom - last.top, 26);
}

TEST_F(ButtonBox, ClicksCountUntilTheUserProgramTakesThem)
{
    TAV_OpenButtonBox(0, 0, 2, 2);
    ASSERT_TRUE(ButtonBoxWindow);
    HWND button = GetDlgItem(ButtonBoxWindow, ButtonIdBase + 2);
    for (int i = 0; i < 3; ++i) SendMessageW(button, BM_CLICK, 0, 0);
    TAV_ProcessMessages();
    EXPECT_EQ(GetFocus(), ButtonBoxWindow); // a click hands the keyboard back to the box
    EXPECT_EQ(TAV_TakeButtonClicks(2), 3);
    EXPECT_EQ(TAV_TakeButtonClicks(2), 0);
    EXPECT_EQ(ButtonClicks[2], 0);

    // Commands that are not clicks of this box's buttons count nothing.
    SendMessageW(ButtonBoxWindow, WM_COMMAND, MAKEWPARAM(ButtonIdBase + 4, 0), 0);
    SendMessageW(ButtonBoxWindow, WM_COMMAND, MAKEWPARAM(ButtonIdBase + 1, BN_SETFOCUS), 0);
    SendMessageW(ButtonBoxWindow, WM_COMMAND, MAKEWPARAM(CMD_BB_RENAME, 0), 0);
    for (int c : ButtonClicks) EXPECT_EQ(c, 0);

    SendMessageW(GetDlgItem(ButtonBoxWindow, ButtonIdBase + 1), BM_CLICK, 0, 0);
    TAV_CloseButtonBox();
    EXPECT_EQ(ButtonClicks[1], 1);          // the counter outlives the box...
    EXPECT_EQ(TAV_TakeButtonClicks(1), 0);  // ...but no closed box hands out clicks
    EXPECT_EQ(TAV_TakeButtonClicks(-1), 0);
    EXPECT_EQ(TAV_TakeButtonClicks(256), 0);
}

TEST_F(ButtonBox, DigitKeysCountEvenBeyondTheButtons)
{
    TAV_OpenButtonBox(0, 0, 2, 2);
    ASSERT_TRUE(ButtonBoxWindow);
    PostKey('7');
    PostKey(VK_NUMPAD7);
    PostKey('0');
    EXPECT_EQ(ButtonClicks[7], 2);
    EXPECT_EQ(TAV_TakeButtonClicks(7), 0); // not a button of a box of 4
    EXPECT_EQ(ButtonClicks[7], 2);
    EXPECT_EQ(TAV_TakeButtonClicks(0), 1);
    SetControl(true);
    PostKey('3');
    EXPECT_EQ(ButtonClicks[3], 0);
}

TEST_F(ButtonBox, CommandKeysGoToTheMainWindowAndCtrlQCloses)
{
    TAV_OpenButtonBox(0, 0, 2, 2);
    ASSERT_TRUE(ButtonBoxWindow);
    PostKey('X'); // no main window (as in a library without one): nothing happens

    WNDCLASSW wc = {};
    wc.lpfnWndProc = MainSinkProc;
    wc.hInstance = ProgramInstance;
    wc.lpszClassName = L"tavtest_mainsink";
    RegisterClassW(&wc);
    MainWindow = CreateWindowExW(0, L"tavtest_mainsink", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 ProgramInstance, nullptr);
    ASSERT_TRUE(MainWindow);
    MainKeys.clear();
    for (WPARAM key : {(WPARAM)'X', (WPARAM)VK_ESCAPE, (WPARAM)'S', (WPARAM)'C', (WPARAM)'A', (WPARAM)VK_RETURN})
        PostKey(key);
    EXPECT_EQ(MainKeys, (std::vector<WPARAM>{'X', VK_ESCAPE, 'S', 'C'}));
    EXPECT_TRUE(ButtonBoxWindow); // Enter and Esc did not touch the box

    SetControl(true);
    MainKeys.clear();
    PostKey('X');
    PostKey(VK_ESCAPE);
    EXPECT_TRUE(MainKeys.empty());
    ASSERT_TRUE(ButtonBoxWindow);
    HWND box = ButtonBoxWindow;
    PostKey('Q');
    TAV_ProcessMessages();
    EXPECT_EQ(ButtonBoxWindow, nullptr);
    EXPECT_FALSE(IsWindow(box));
    DestroyWindow(MainWindow);
}

TEST_F(ButtonBox, CloseBoxAndDestroyCommandClose)
{
    for (UINT message : {(UINT)WM_CLOSE, (UINT)WM_COMMAND}) {
        TAV_OpenButtonBox(0, 0, 1, 1);
        ASSERT_TRUE(ButtonBoxWindow);
        HWND box = ButtonBoxWindow;
        SendMessageW(box, message, message == WM_COMMAND ? CMD_BB_DESTROY : 0, 0);
        EXPECT_EQ(ButtonBoxWindow, nullptr) << message;
        EXPECT_FALSE(IsWindow(box)) << message;
    }
}

TEST_F(ButtonBox, ResizeFitsTheButtonsAndTheSizeIsKept)
{
    TAV_OpenButtonBox(0, 0, 2, 13);
    ASSERT_TRUE(ButtonBoxWindow);
    TAV_ResizeButtonBox(300, 200);
    SIZE s = ClientSize(ButtonBoxWindow);
    EXPECT_EQ(s.cx, 300);
    EXPECT_EQ(s.cy, 200);
    RECT b3 = ButtonRect(3); // (300 - 12) / 2 = 144 wide, (200 - 56) / 13 = 11 high
    EXPECT_EQ(b3.left, 152);
    EXPECT_EQ(b3.top, 19);
    EXPECT_EQ(b3.right - b3.left, 144);
    EXPECT_EQ(b3.bottom - b3.top, 11);

    TAV_ResizeButtonBox(1600, 1200); // larger than the screen
    s = ClientSize(ButtonBoxWindow);
    EXPECT_EQ(s.cx, 1600);
    EXPECT_EQ(s.cy, 1200);
    TAV_ResizeButtonBox(300, 200);
    TAV_ResizeButtonBox(-1, 50); // refused
    EXPECT_EQ(ClientSize(ButtonBoxWindow).cx, 300);

    TAV_CloseButtonBox();
    TAV_OpenButtonBox(0, 0, 2, 13);
    ASSERT_TRUE(ButtonBoxWindow);
    RECT again = ButtonRect(3);
    EXPECT_EQ(again.right - again.left, 144);
    EXPECT_EQ(again.bottom - again.top, 11);
    s = ClientSize(ButtonBoxWindow);
    EXPECT_EQ(s.cx, 300);
    EXPECT_EQ(s.cy, 199);
}

TEST_F(ButtonBox, ShrinkingBelowTheGapsLeavesOnePixelToShare)
{
    struct Case { int nx, width, buttonWidth; };
    const Case cases[] = {{16, 60, 0}, {16, 69, 0}, {40, 150, 0}, {1, 5, 1}, {3, 19, 1}, {3, 20, 1}};
    for (const Case& c : cases) {
        TAV_OpenButtonBox(0, 0, c.nx, 1);
        ASSERT_TRUE(ButtonBoxWindow);
        TAV_ResizeButtonBox(c.width, 40);
        EXPECT_EQ(ClientSize(ButtonBoxWindow).cx, c.width) << c.nx;
        for (int i = 0; i < c.nx; ++i) {
            RECT r = ButtonRect(i);
            EXPECT_EQ(r.right - r.left, c.buttonWidth) << c.nx << " columns, button " << i;
            EXPECT_EQ(r.left, (c.buttonWidth + 4) * i + 4);
        }
        TAV_CloseButtonBox();
        ButtonWidth = StartButtonWidth;
    }
}

TEST_F(ButtonBox, CaptionsAreCutAndBadIndicesIgnored)
{
    TAV_OpenButtonBox(0, 0, 2, 2);
    ASSERT_TRUE(ButtonBoxWindow);
    std::string longCaption(1000, 'c');
    TAV_SetButtonBoxTitle(3, longCaption.c_str());
    EXPECT_EQ(Caption(GetDlgItem(ButtonBoxWindow, ButtonIdBase + 3)), std::wstring(255, L'c'));
    TAV_SetButtonBoxTitle(1, "V map");
    EXPECT_EQ(Caption(GetDlgItem(ButtonBoxWindow, ButtonIdBase + 1)), L"V map");
    TAV_SetButtonBoxTitle(4, "x");
    TAV_SetButtonBoxTitle(-1, "x");
    for (int i = 0; i < 4; ++i) EXPECT_NE(Caption(GetDlgItem(ButtonBoxWindow, ButtonIdBase + i)), L"x");
    // With no text window to type into, renaming keeps the caption.
    RenameButton(1);
    RenameButton(-1);
    RenameButton(4);
    EXPECT_EQ(Caption(GetDlgItem(ButtonBoxWindow, ButtonIdBase + 1)), L"V map");
    TAV_CloseButtonBox();
    TAV_SetButtonBoxTitle(0, "x"); // no box: nothing to do
    RenameButton(0);
}

// Reads the popup menu that is showing, then dismisses it.
struct PopupSeen { UINT id; std::wstring text; int items; };
PopupSeen Seen;
int PopupTries;
void CALLBACK ReadPopupAndEnd(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = FindWindowW(L"#32768", nullptr);
    HMENU menu = popup ? (HMENU)SendMessageW(popup, MN_GETHMENU, 0, 0) : nullptr;
    if (!menu && ++PopupTries < 100) return;
    KillTimer(nullptr, timer);
    if (menu) {
        wchar_t text[64] = L"";
        GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
        Seen = {GetMenuItemID(menu, 0), text, GetMenuItemCount(menu)};
    }
    EndMenu();
}

PopupSeen RightClick(UINT message, LPARAM where)
{
    Seen = {0, L"", 0};
    PopupTries = 0;
    SetTimer(nullptr, 0, 20, ReadPopupAndEnd);
    SendMessageW(ButtonBoxWindow, message, 0, where);
    TAV_ProcessMessages();
    return Seen;
}

TEST_F(ButtonBox, RightClicksShowTheirPopupsAndPickTheCell)
{
    TAV_OpenButtonBox(0, 0, 3, 2);
    ASSERT_TRUE(ButtonBoxWindow);
    // The left margin of row 1 belongs to the first button of that row.
    PopupSeen client = RightClick(WM_RBUTTONDOWN, MAKELPARAM(2, 40));
    EXPECT_EQ(RenameTarget, 3);
    EXPECT_EQ(client.id, (UINT)CMD_BB_RENAME);
    EXPECT_EQ(client.text, L"Rename");
    EXPECT_EQ(client.items, 1);
    RightClick(WM_RBUTTONDOWN, MAKELPARAM(104, 2)); // the gap left of button 1
    EXPECT_EQ(RenameTarget, 1);

    PopupSeen frame = RightClick(WM_NCRBUTTONDOWN, MAKELPARAM(10, 10));
    EXPECT_EQ(frame.id, (UINT)CMD_BB_DESTROY);
    EXPECT_EQ(frame.text, L"&Destroy\tCtrl+Q");
    EXPECT_EQ(frame.items, 1);
    EXPECT_TRUE(ButtonBoxWindow); // dismissing the menu leaves the box open
}

TEST_F(ButtonBox, OpenRequestReplacesTheBox)
{
    TAV_OpenButtonBox(30, 30, 2, 2);
    ASSERT_TRUE(ButtonBoxWindow);
    GuiRequestBlock block = {};
    block.width = 3;
    block.height = 1;
    ASSERT_TRUE(ExecuteGuiRequest(GUIREQ_OPENBUTTONBOX, block));
    ASSERT_TRUE(ButtonBoxWindow);
    EXPECT_EQ(TAV_ButtonBoxCount(), 3);
    RECT r;
    GetWindowRect(ButtonBoxWindow, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    block.width = 0; // a bad shape: the old box goes, no new one comes
    ExecuteGuiRequest(GUIREQ_OPENBUTTONBOX, block);
    EXPECT_EQ(ButtonBoxWindow, nullptr);
}

} // namespace
