// The open and save dialogs: what they start with, what a confirmed choice
// hands back and remembers, and that cancelling remembers nothing. A helper
// thread plays the user: it waits for the dialog, reads its fields, types a
// name, picks a filter and confirms or cancels.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <string>

#include "image/image_io_win32.h"
#include "shell/shell_win32.h"
#include "tavkit.h"

namespace {

struct DialogUser {
    const wchar_t* title;       // caption to wait for
    std::wstring typeName;      // typed into the name field ("" types nothing)
    int filterIndex;            // 1-based filter to pick; 0 keeps the dialog's
    bool confirm;               // OK, or Cancel
    DialogUser(const wchar_t* t, std::wstring name, int filter, bool ok)
        : title(t), typeName(name), filterIndex(filter), confirm(ok) {}
    // What the user saw:
    std::wstring startName, startFolder;
    int startFilter = 0;
    bool found = false;
};

DWORD WINAPI PlayUser(LPVOID parameter)
{
    DialogUser* u = (DialogUser*)parameter;
    HWND dialog = nullptr;
    // Shown only once its initialisation has filled the fields.
    for (int i = 0; i < 3000 && !(dialog && IsWindowVisible(dialog)); ++i) { // up to 30 s
        dialog = FindWindowW(L"#32770", u->title);
        if (!(dialog && IsWindowVisible(dialog))) Sleep(10);
    }
    if (!dialog) return 1;
    u->found = true;
    wchar_t text[MAX_PATH] = L"";
    GetDlgItemTextW(dialog, cmb13, text, MAX_PATH);
    u->startName = text;
    text[0] = 0;
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, (LPARAM)text);
    u->startFolder = text;
    HWND filters = GetDlgItem(dialog, cmb1);
    u->startFilter = (int)SendMessageW(filters, CB_GETCURSEL, 0, 0) + 1;
    if (u->filterIndex) {
        SendMessageW(filters, CB_SETCURSEL, (WPARAM)(u->filterIndex - 1), 0);
        // As a user's pick would: the selection changes, then is confirmed.
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), (LPARAM)filters);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), (LPARAM)filters);
    }
    if (!u->typeName.empty()) SetDlgItemTextW(dialog, cmb13, u->typeName.c_str());
    PostMessageW(dialog, WM_COMMAND, u->confirm ? IDOK : IDCANCEL, 0);
    return 0;
}

// Runs `dialog` on this thread while the helper plays `user`.
template <typename F> int WithUser(DialogUser& user, F dialog)
{
    HANDLE thread = CreateThread(nullptr, 0, PlayUser, &user, 0, nullptr);
    int result = dialog();
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    return result;
}

std::string TempFolder(const char* name)
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string folder = std::string(base) + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

std::wstring Wide(const std::string& s)
{
    wchar_t w[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, w, MAX_PATH);
    return w;
}

struct FileDialogs : testing::Test {
    std::string first = TempFolder("tav_dialog_a"), second = TempFolder("tav_dialog_b");
    void SetUp() override
    {
        CloseHandle(CreateFileA((first + "pic.bmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        CopyBounded(OpenDirectory, first.c_str(), DirectoryChars);
        CopyBounded(SaveDirectory, second.c_str(), DirectoryChars);
        OpenFilterIndex = SaveFilterIndex = 2;
    }
    void TearDown() override
    {
        DeleteFileA((first + "pic.bmp").c_str());
        RemoveDirectoryA(first.c_str());
        RemoveDirectoryA(second.c_str());
    }
};

TEST_F(FileDialogs, OpenStartsAtTheRememberedFolderAndFilterAndRemembersTheChoice)
{
    DialogUser user(L"Load image file", Wide(first + "pic.bmp"), 5, true);
    char buffer[260] = "";
    int r = WithUser(user, [&] { return TAV_OpenFileDialog("Load image file", buffer); });
    ASSERT_TRUE(user.found);
    EXPECT_EQ(user.startName, L"*.BMP;*.RLE;*.DIB");
    EXPECT_EQ(user.startFilter, 2);
    EXPECT_EQ(user.startFolder + L"\\", Wide(first));
    EXPECT_EQ(r, 0);
    EXPECT_STREQ(buffer, (first + "pic.bmp").c_str());
    EXPECT_EQ(OpenFilterIndex, 5);
    EXPECT_STREQ(OpenDirectory, first.c_str());

    // The next dialog starts with the PNG pattern; cancelling keeps everything.
    DialogUser again(L"Load image file", L"", 0, false);
    strcpy(buffer, "untouched");
    CopyBounded(OpenDirectory, second.c_str(), DirectoryChars);
    r = WithUser(again, [&] { return TAV_OpenFileDialog("Load image file", buffer); });
    ASSERT_TRUE(again.found);
    EXPECT_EQ(again.startName, L"*.PNG");
    EXPECT_EQ(again.startFolder + L"\\", Wide(second));
    EXPECT_EQ(r, 1);
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_EQ(OpenFilterIndex, 5);
    EXPECT_STREQ(OpenDirectory, second.c_str());
}

TEST_F(FileDialogs, SaveStartsWithNonameAndRemembersFolderAndFilter)
{
    DialogUser user(L"Save as", Wide(first + "result.png"), 4, true);
    char buffer[260] = "";
    int r = WithUser(user, [&] { return TAV_SaveFileDialog(buffer); });
    ASSERT_TRUE(user.found);
    EXPECT_EQ(user.startName, L"noname");
    EXPECT_EQ(user.startFilter, 2);
    EXPECT_EQ(user.startFolder + L"\\", Wide(second));
    EXPECT_EQ(r, 0);
    EXPECT_STREQ(buffer, (first + "result.png").c_str()); // the typed name; the filter picks the format
    EXPECT_EQ(SaveFilterIndex, 4);
    EXPECT_STREQ(SaveDirectory, first.c_str());
    EXPECT_STREQ(OpenDirectory, first.c_str()) << "the open dialog's folder is its own";
}

} // namespace
