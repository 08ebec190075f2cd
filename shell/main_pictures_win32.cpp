// Pictures brought to the main window: files dropped on it and the
// clipboard's picture pasted into it each become a new 32-bit image window
// (GUI thread; the windows are made by the worker through requests).
#include <windows.h>

#include "image/image_file_rules.h"
#include "image/image_io_win32.h"
#include "image/image_table.h"
#include "shell/main_command_rules.h"
#include "shell/shell_win32.h"

// The worker has taken the last request (a show that is not waited for), so
// the selection it works on is settled before this thread restores it.
static void RestoreSelectionAfterRequests(void)
{
    while (PendingRequest.load() != 0 && ExitState.load() == 0) PumpGuiMessages();
    TAV_RestoreImage();
}

// Full path and file-name part of dropped file `k`, narrow; false when the
// file is to be skipped (name too long, no name part, not representable).
static bool DroppedPath(HDROP drop, UINT k, wchar_t* fullW, char* full, char* name)
{
    if (DragQueryFileW(drop, k, nullptr, 0) >= PathChars) return false; // would be cut
    wchar_t dropped[PathChars];
    if (DragQueryFileW(drop, k, dropped, PathChars) == 0) return false;
    wchar_t* namePart = nullptr;
    DWORD n = GetFullPathNameW(dropped, PathChars, fullW, &namePart);
    if (n == 0 || n >= PathChars || !namePart || !*namePart) return false;
    return PathToNarrow(fullW, full) && PathToNarrow(namePart, name);
}

// Creates an image for one readable picture from number `*next` on and loads
// the file into it; *next runs on past every number tried.
static void ImageFromFile(const wchar_t* fullW, const char* full, const char* name, int* next)
{
    int width = 0, height = 0;
    ProbePictureSize(fullW, &width, &height);
    if (width == 0 || height == 0) return;
    while (*next < ImageCount) {
        int number = (*next)++;
        char title[ImageTitleBytes];
        FormatImageTitle(title, sizeof title, number, name);
        int r = RequestCreateImage(number, title, width, height, 32);
        if (r == 0) {
            RequestLoadImage(number, full);
            RequestShowImage(number);
            RestoreSelectionAfterRequests();
            return;
        }
        if (r != 1) return; // not for want of a free number: skip the file
    }
}

void OnMainDropFiles(HWND, HDROP drop)
{
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    int next = 0;
    for (UINT k = 0; k < count; ++k) {
        wchar_t fullW[PathChars];
        char full[PathChars], name[PathChars];
        if (DroppedPath(drop, k, fullW, full, name)) ImageFromFile(fullW, full, name, &next);
    }
    DragFinish(drop);
}

void OnMainPaste(void)
{
    if (UserProgramRunning.load() != 0) return;
    RGBQUAD colors[256];
    int colorCount = 0;
    HBITMAP bitmap = FetchClipboardBitmap(colors, &colorCount);
    if (!bitmap) return;
    BITMAP info;
    if (!GetObjectW(bitmap, sizeof info, &info)) {
        DeleteObject(bitmap);
        return;
    }
    for (int number = 0; number < ImageCount; ++number) {
        char title[ImageTitleBytes];
        FormatImageTitle(title, sizeof title, number, nullptr);
        if (RequestCreateImage(number, title, info.bmWidth, info.bmHeight, 32) != 0) continue;
        RequestPasteBitmap(bitmap); // the worker copies the bitmap into the new image and deletes it
        RequestShowImage(number);
        RestoreSelectionAfterRequests();
        return;
    }
    DeleteObject(bitmap);
}
