// Paths between the library's narrow text (system code page) and the
// platform's UTF-16, converted so that a path always names the same file.
#include <windows.h>

#include <cstring>
#include <cwchar>

#include "image/image_file_rules.h"
#include "image/image_io_win32.h"

bool PathToWide(const char* path, wchar_t* out)
{
    if (!path) return false;
    size_t len = strnlen(path, PathChars);
    if (len == 0 || len >= PathChars) return false;
    // Each byte gives at most one UTF-16 unit, so PathChars units always suffice.
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, (int)len + 1, out, PathChars) > 0;
}

bool PathToNarrow(const wchar_t* path, char* out)
{
    // No best-fit replacements: a path must convert back to itself, or it
    // would name another file.
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path, -1, out, PathChars, nullptr, &lossy);
    wchar_t back[PathChars];
    if (n <= 0 || lossy || !PathToWide(out, back) || wcscmp(back, path) != 0) {
        out[0] = 0;
        return false;
    }
    return true;
}
