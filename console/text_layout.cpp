// Layout of printed text in character cells (see text_layout.h).
#include "console/text_layout.h"

#include <cstdio>
#include <cstring>

int ScrollIfFullRule(TextWindowSlot& slot, const TextSurface& surface)
{
    if (slot.cursorY + slot.lineHeight < slot.height) return 0;
    int newY = slot.cursorY - slot.lineHeight;
    if (newY < 0) newY = 0; // a window lower than two lines: nothing above to keep
    surface.scrollUp(surface.context, slot.lineHeight, newY, newY);
    slot.cursorY = newY;
    return 1;
}

void StartNewLine(TextWindowSlot& slot, const TextSurface& surface)
{
    slot.cursorY += slot.lineHeight;
    slot.cursorX = 0;
    ScrollIfFullRule(slot, surface);
}

template <typename Unit>
void LayOutText(TextWindowSlot& slot, const Unit* text, int count, const TextSurface& surface)
{
    int runStart = 0;          // first code unit of the pending run
    int runLength = 0;         // code units in it
    int runEnd = slot.cursorX; // x where the run ends; it starts at cursorX
    for (int i = 0; i < count; ++i) {
        uint32_t unit = (uint32_t)text[i];
        bool lineFeed = unit == 10;
        int w = lineFeed ? 0 : CellsOf(unit) * slot.cellWidth;
        if (lineFeed || runEnd + w > slot.width) {
            if (runLength > 0) surface.drawRun(surface.context, runStart, runLength, slot.cursorX, slot.cursorY);
            StartNewLine(slot, surface);
            runStart = lineFeed ? i + 1 : i;
            runLength = 0;
            runEnd = 0;
            if (lineFeed) continue;
        }
        ++runLength;
        runEnd += w;
    }
    if (runLength > 0) {
        surface.drawRun(surface.context, runStart, runLength, slot.cursorX, slot.cursorY);
        slot.cursorX = runEnd;
    }
}

template void LayOutText<char16_t>(TextWindowSlot&, const char16_t*, int, const TextSurface&);
template void LayOutText<wchar_t>(TextWindowSlot&, const wchar_t*, int, const TextSurface&);

int FormatBounded(char* buffer, int size, const char* format, va_list args)
{
    if (size <= 0) return 0;
    vsnprintf(buffer, (size_t)size, format, args);
    buffer[size - 1] = '\0'; // some C libraries leave a cut text unterminated
    return (int)strlen(buffer);
}
