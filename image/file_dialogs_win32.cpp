// The open and save dialogs for picture files. Each remembers, for the whole
// run, the folder of the last file confirmed in it and the filter in use then.
#include <windows.h>
#include <commdlg.h>

#include <cwchar>

#include "image/image_file_rules.h"
#include "image/image_io_win32.h"
#include "shell/shell_win32.h"
#include "tavkit.h"

int OpenFilterIndex = 2;
int SaveFilterIndex = 2;

// What one dialog remembers: its filter index and its folder (narrow, with a
// UTF-16 copy kept in step).
struct DialogMemory {
    int* filterIndex;
    char* directory;
    wchar_t* directoryW;
    int filterCount;
};

static DialogMemory OpenMemory(void) { return {&OpenFilterIndex, OpenDirectory, OpenDirectoryW, OpenFilterCount}; }
static DialogMemory SaveMemory(void) { return {&SaveFilterIndex, SaveDirectory, SaveDirectoryW, SaveFilterCount}; }

// Keeps the folder of a confirmed file: its full path cut before the name.
static void RememberFolder(const wchar_t* file, const DialogMemory& m)
{
    wchar_t full[PathChars];
    wchar_t* namePart = nullptr;
    DWORD n = GetFullPathNameW(file, PathChars, full, &namePart);
    if (n == 0 || n >= PathChars || !namePart) return;
    *namePart = 0;
    char narrow[PathChars];
    if (!PathToNarrow(full, narrow)) return;
    CopyBounded(m.directory, narrow, DirectoryChars);
    wcsncpy(m.directoryW, full, DirectoryChars - 1);
    m.directoryW[DirectoryChars - 1] = 0;
}

// Runs one dialog; `file` starts as the name field's text and ends as the
// chosen path. 0 confirmed (path in `buffer`), 1 cancelled.
static int RunFileDialog(bool save, const wchar_t* title, wchar_t* file, char* buffer)
{
    DialogMemory m = save ? SaveMemory() : OpenMemory();
    wchar_t folder[PathChars];
    if (MultiByteToWideChar(CP_ACP, 0, m.directory, -1, folder, PathChars) <= 0) folder[0] = 0;
    wchar_t filters[1024];
    if (!BuildFilterList(m.filterCount, filters, 1024)) return 1;

    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = filters;
    ofn.nFilterIndex = (DWORD)*m.filterIndex;
    ofn.lpstrFile = file;
    ofn.nMaxFile = PathChars;
    ofn.lpstrInitialDir = folder;
    ofn.lpstrTitle = title;
    ofn.Flags = save ? OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT
                     : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    BOOL confirmed = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!confirmed) return 1;
    // A name the system code page cannot hold would not name this file again.
    char narrow[PathChars];
    if (!PathToNarrow(file, narrow)) return 1;
    CopyBounded(buffer, narrow, PathChars);
    *m.filterIndex = (int)ofn.nFilterIndex;
    RememberFolder(file, m);
    return 0;
}

int TAV_OpenFileDialog(const char* title, char* buffer)
{
    wchar_t wideTitle[WideTextChars];
    AnsiToWide(title, wideTitle, WideTextChars);
    wchar_t file[PathChars];
    int index = OpenFilterIndex >= 1 && OpenFilterIndex <= OpenFilterCount ? OpenFilterIndex : 1;
    wcsncpy(file, FileFilters[index - 1].pattern, PathChars - 1);
    file[PathChars - 1] = 0;
    return RunFileDialog(false, wideTitle, file, buffer);
}

int TAV_SaveFileDialog(char* buffer)
{
    wchar_t file[PathChars] = L"noname";
    return RunFileDialog(true, L"Save as", file, buffer);
}
