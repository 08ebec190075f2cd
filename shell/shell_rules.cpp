// Window-free rules of the shell: status line layout, clock, animation table.
#include <cmath>
#include <cstring>

#include "shell/shell_state.h"
#include "tavkit.h"

void CopyBounded(char* dst, const char* src, int size)
{
    if (size <= 0) return;
    int n = 0;
    while (n < size - 1 && src[n] != '\0') { dst[n] = src[n]; ++n; }
    dst[n] = '\0';
}

void FormatStatusLine(const char* text, char line[StatusLineBytes])
{
    std::memset(line, ' ', StatusLineBytes - 1);
    line[StatusLineBytes - 1] = '\0';
    int len = (int)std::strlen(text);
    int pad = 18 - len / 2;
    if (pad < 0) pad = 0;
    // The text and its terminator go at `pad`; a text too long for the line is cut.
    CopyBounded(line + pad, text, StatusLineBytes - pad);
}

uint32_t CounterToMs(int64_t count, double msPerTick)
{
    double ms = std::floor((double)count * msPerTick);
    return (uint32_t)(uint64_t)(int64_t)ms;
}

const int DropInOffsets[DropInSteps] = {
    1, 2, 3, 4, 5, 6, 7, 8, 9, 10, -6, -5, -4, -3, -2, -1, 1, 2, 3, 4, 5, 6, -3, -2, -1, 1, 2, 3,
};

void TAV_SplitRGB(uint32_t color, int* red, int* green, int* blue)
{
    *red = (int)((color >> 16) & 0xFF);
    *green = (int)((color >> 8) & 0xFF);
    *blue = (int)(color & 0xFF);
}
