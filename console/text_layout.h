// How printed text is laid out in a text window: character cells, runs drawn
// in one piece per line, wrap at the right edge, line feeds, and the scroll by
// one line when the next line would not fit. Window-free: the drawing itself
// is handed to a TextSurface.
#ifndef TAV_TEXT_LAYOUT_H
#define TAV_TEXT_LAYOUT_H

#include <cstdarg>
#include <cstdint>

#include "console/text_window_table.h"

enum {
    FormatBufferBytes = 4096, // formatted narrow text of one print, terminator included
    WideTextUnits = 4096,     // the same text as UTF-16 code units, terminator included
};

// Cells taken by one UTF-16 code unit: 1 below 0x80, 2 from 0x80 on.
inline int CellsOf(uint32_t unit) { return unit < 0x80 ? 1 : 2; }

// What the layout asks of the window system, for one slot.
struct TextSurface {
    void* context;
    // Draws text[start .. start+count) as one piece with its top-left at (x, y).
    void (*drawRun)(void* context, int start, int count, int x, int y);
    // Copies the rows fromY .. fromY+copyHeight up to y = 0 (full width), then
    // clears the bitmap black from clearFromY to the bottom.
    void (*scrollUp)(void* context, int fromY, int copyHeight, int clearFromY);
};

// If the line at cursorY does not fit above the bottom edge (cursorY +
// lineHeight is not below height), scrolls the picture up one line and moves
// the cursor with it; returns 1 then, else 0. The cursor never moves above 0.
int ScrollIfFullRule(TextWindowSlot& slot, const TextSurface& surface);

// Moves the cursor to the start of the next line and scrolls if it is full.
void StartNewLine(TextWindowSlot& slot, const TextSurface& surface);

// Walks `count` code units from the cursor: line feeds start new lines, a
// character that would pass the right edge starts a new line and moves there
// whole, and every stretch of characters on one line is drawn in one run.
// Leaves the cursor after the last character. Unit is wchar_t on the window
// system and char16_t in tests.
template <typename Unit>
void LayOutText(TextWindowSlot& slot, const Unit* text, int count, const TextSurface& surface);

// vsnprintf into `size` bytes that always ends terminated, whatever the C
// library does with output that does not fit (it is cut). Returns the length.
int FormatBounded(char* buffer, int size, const char* format, va_list args);

#endif
