// The text window table: 256 numbered console windows, the current window
// number, and the colour stack of each window.
//
// Threads: the worker thread owns the windows and fills, resizes and frees
// slots; output runs on whichever thread prints (the worker, or the GUI thread
// in the main window's console dialogs). Every read or write of the table and
// every drawing into or copying from a slot's backing bitmap happens while
// TextWindowLock is held. The lock is held only for such short steps, never
// across a message pump, a window creation or destruction, or any call that
// may send a message to another thread's window.
//
// Platform handles are kept as opaque pointers so this header needs no windows.h.
#ifndef TAV_TEXT_WINDOW_TABLE_H
#define TAV_TEXT_WINDOW_TABLE_H

#include <cstdint>
#include <cstdio>
#include <mutex>

enum { TextWindowCount = 256, TextColorStackDepth = 8 };
enum { WhiteColor = 0xFFFFFF, BlackColor = 0x000000 };

struct TextWindowSlot {
    int inUse;            // 1 while the window exists (worker writes)
    int width;            // client width, pixels; the backing bitmap's width (worker writes)
    int height;           // client height, pixels; the backing bitmap's height (worker writes)
    int cursorX;          // x of the next character cell (printing thread writes)
    int cursorY;          // y of the top of the current line (printing thread writes)
    int cellWidth;        // average character width of the window font: one cell (worker writes)
    int lineHeight;       // character height of the window font: one line (worker writes)
    uint32_t textColor;   // ColorWord of drawn characters (printing thread writes)
    uint32_t backColor;   // ColorWord behind drawn characters (printing thread writes)
    uint32_t savedTextColors[TextColorStackDepth]; // colour stack, entry 0 the most recent
    uint32_t savedBackColors[TextColorStackDepth]; // paired with savedTextColors
    void* window;         // HWND of class tav_twi (worker writes)
    void* memoryDC;       // HDC holding the backing bitmap, black brush and font; 0 if none
    void* windowDC;       // HDC of the window, held for the window's life
    void* bitmap;         // HBITMAP: the backing bitmap
    void* previousBitmap; // HBITMAP memoryDC held before `bitmap`; put back before deletion
    int logState;         // 0 no log, 1 logging, 2 stopped
    FILE* logFile;        // open log file while logState is 1 or 2
};

extern TextWindowSlot TextWindowTable[TextWindowCount];
extern int CurrentTextWindow;     // window that output, input and colours act on
extern std::mutex TextWindowLock; // guards the table and every slot's bitmap (see above)

// True when `n` names a slot in use (numbers compared as unsigned). Lock held.
inline bool TextWindowInUse(int n) { return (unsigned)n < TextWindowCount && TextWindowTable[n].inUse; }

// Frees every slot and makes window 0 current (start-up).
void ClearTextWindowTable(void);
// Lowest-numbered open window, or -1 when none is open. Lock held.
int LowestOpenTextWindow(void);

// White on black, and every entry of the colour stack the same.
void ResetTextColors(TextWindowSlot& slot);
// Saves the current pair on the stack (entry 7 is lost) and makes the new one current.
void PushTextColors(TextWindowSlot& slot, uint32_t textColor, uint32_t backColor);
// Makes entry 0 current and moves the stack up; entry 7 keeps its value.
void PopTextColors(TextWindowSlot& slot);

// A ColorWord 0x00RRGGBB as the platform's colour reference 0x00BBGGRR.
inline uint32_t ColorWordToColorRef(uint32_t color)
{
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

#endif
