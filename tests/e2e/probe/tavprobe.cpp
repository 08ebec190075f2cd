// tavprobe: reports the top-level windows of this Wine prefix as the window
// system sees them, for end-to-end tests that watch the program from outside.
//   tavprobe list [FILE]    one line per visible top-level window, to FILE or stdout:
//                           hwnd<TAB>pid<TAB>class<TAB>title<TAB>x,y,w,h of the client area on
//                           screen<TAB>x,y,w,h of the whole window<TAB>1 if it is the
//                           foreground window, else 0
//   tavprobe post HWND MSG WPARAM LPARAM   posts a message (numbers in decimal or 0x hex)
//   tavprobe raise HWND     puts a window on top of the others without activating it
//   tavprobe texts HWND FILE   the texts of a window's child windows, one a line, in UTF-8
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static FILE* Out;

static void PrintUtf8(const wchar_t* text)
{
    char out[1024];
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, nullptr);
    if (n <= 0) out[0] = 0;
    for (char* p = out; *p; ++p)
        if (*p == '\t' || *p == '\n' || *p == '\r') *p = ' ';
    fputs(out, Out);
}

static BOOL CALLBACK ListOne(HWND window, LPARAM)
{
    if (!IsWindowVisible(window)) return TRUE;
    wchar_t cls[256], title[512];
    GetClassNameW(window, cls, 256);
    GetWindowTextW(window, title, 512);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    RECT c;
    GetClientRect(window, &c);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    fprintf(Out, "%llu\t%lu\t", (unsigned long long)(UINT_PTR)window, (unsigned long)pid);
    PrintUtf8(cls);
    fputc('\t', Out);
    PrintUtf8(title);
    RECT r;
    GetWindowRect(window, &r);
    fprintf(Out, "\t%ld,%ld,%ld,%ld\t%ld,%ld,%ld,%ld\t%d\n", origin.x, origin.y, c.right - c.left,
            c.bottom - c.top, r.left, r.top, r.right - r.left, r.bottom - r.top,
            GetForegroundWindow() == window ? 1 : 0);
    return TRUE;
}

static BOOL CALLBACK ListText(HWND child, LPARAM)
{
    wchar_t text[512];
    GetWindowTextW(child, text, 512);
    PrintUtf8(text);
    fputc('\n', Out);
    return TRUE;
}

int main(int argc, char** argv)
{
    if (argc >= 2 && strcmp(argv[1], "list") == 0) {
        // A file, not a pipe: a Wine service started meanwhile may inherit the
        // pipe and keep the reader waiting for its end.
        Out = argc >= 3 ? fopen(argv[2], "w") : stdout;
        if (!Out) return 1;
        EnumWindows(ListOne, 0);
        if (Out != stdout) fclose(Out);
        return 0;
    }
    if (argc >= 6 && strcmp(argv[1], "post") == 0) {
        HWND w = (HWND)(UINT_PTR)strtoull(argv[2], nullptr, 0);
        UINT msg = (UINT)strtoul(argv[3], nullptr, 0);
        WPARAM wp = (WPARAM)strtoull(argv[4], nullptr, 0);
        LPARAM lp = (LPARAM)strtoll(argv[5], nullptr, 0);
        return PostMessageW(w, msg, wp, lp) ? 0 : 1;
    }
    if (argc >= 3 && strcmp(argv[1], "raise") == 0) {
        HWND w = (HWND)(UINT_PTR)strtoull(argv[2], nullptr, 0);
        return SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) ? 0 : 1;
    }
    if (argc >= 4 && strcmp(argv[1], "texts") == 0) {
        HWND w = (HWND)(UINT_PTR)strtoull(argv[2], nullptr, 0);
        Out = fopen(argv[3], "w");
        if (!Out) return 1;
        EnumChildWindows(w, ListText, 0);
        fclose(Out);
        return 0;
    }
    fprintf(stderr, "usage: tavprobe list [FILE] | post HWND MSG WPARAM LPARAM | raise HWND | texts HWND FILE\n");
    return 2;
}
