// Narrow-text helpers at the window-system boundary and the status line.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "shell/shell_win32.h"
#include "tavkit.h"

namespace {

struct WindowFixture : testing::Test {
    HWND window = nullptr;
    void SetUp() override
    {
        window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 234, 20, nullptr, nullptr,
                                 ProgramInstance, nullptr);
        ASSERT_TRUE(window);
    }
    void TearDown() override { DestroyWindow(window); }
    std::wstring Text()
    {
        wchar_t buf[1024];
        int n = GetWindowTextW(window, buf, 1024);
        return std::wstring(buf, n);
    }
};

using WindowText = WindowFixture;

TEST_F(WindowText, LongTextsAreCutToTheBuffer)
{
    std::string longText(1000, 'a');
    SetWindowTextAnsi(window, longText.c_str());
    EXPECT_EQ(Text(), std::wstring(255, L'a'));

    char small[8];
    memset(small, 'x', sizeof small);
    GetWindowTextAnsi(window, small, 5);
    EXPECT_STREQ(small, "aaaa");
    EXPECT_EQ(small[5], 'x'); // nothing written past the given size
}

TEST_F(WindowText, StatusLineCentresAndNeverOverruns)
{
    StatusLine = window;
    struct Case { std::string text; std::wstring shown; };
    const Case cases[] = {
        {"32-bit color", std::wstring(12, L' ') + L"32-bit color"},
        {"", std::wstring(18, L' ')},
        {std::string(200, 'z'), std::wstring(63, L'z')},
    };
    for (const Case& c : cases) {
        TAV_SetStatus(c.text.c_str());
        EXPECT_EQ(Text(), c.shown) << c.text;
    }
    StatusLine = nullptr;
}

TEST(Menus, ItemsKeepPositionStateAndCutText)
{
    HMENU menu = CreatePopupMenu();
    AddMenuItem(menu, 0, 0, 1001, "Start");
    AddMenuItem(menu, 1, 3, 1003, std::string(400, 'm').c_str());
    AddMenuSeparator(menu, 1);
    HMENU sub = CreatePopupMenu();
    AddSubMenu(menu, sub, 3, "More");
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(GetMenuItemID(menu, 0), 1001u);
    EXPECT_EQ(GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR, (UINT)MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(menu, 2), 1003u);
    EXPECT_TRUE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_GRAYED);
    wchar_t text[512];
    EXPECT_EQ(GetMenuStringW(menu, 2, text, 512, MF_BYPOSITION), 255);
    EXPECT_EQ(GetSubMenu(menu, 3), sub);
    DestroyMenu(menu);
}

TEST(Clock, CountsMilliseconds)
{
    uint32_t t0 = TAV_GetTime();
    Sleep(50);
    uint32_t dt = TAV_GetTime() - t0;
    EXPECT_GE(dt, 45u);
    EXPECT_LT(dt, 5000u);
}

} // namespace
