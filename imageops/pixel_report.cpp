// The pixel colour report: the point and its colour in every model.
#include "imageops/pixel_report.h"

#include <cstdarg>
#include <cstdio>

#include "imageops/pixel_access.h"
#include "tavkit.h"

namespace {

// Appends to a bounded text; `used` never passes size - 1.
void Append(char* text, size_t size, size_t* used, const char* format, ...)
{
    if (*used + 1 >= size) return;
    va_list args;
    va_start(args, format);
    const int n = vsnprintf(text + *used, size - *used, format, args);
    va_end(args);
    if (n < 0) return;
    *used += (size_t)n < size - *used ? (size_t)n : size - *used - 1;
}

} // namespace

int FormatPixelReport(int x, int y, char* text, size_t size)
{
    if (size == 0) return 0;
    text[0] = '\0';
    size_t used = 0;
    Append(text, size, &used, "(X,Y)=(%d,%d)\n", x, y);
    const ImageSlot* slot = CurrentSlot();
    if (!slot) return (int)used;
    const uint32_t c = TAV_GetPixel(x, y);
    if (slot->bits != 32) {
        Append(text, size, &used, "(Luminance)=(%d)\n\n", (int)c);
        return (int)used;
    }
    int r, g, b, h, s, v, luma, c1, c2;
    TAV_SplitRGB(c, &r, &g, &b);
    Append(text, size, &used, "(R,G,B)=(%d,%d,%d)\n", r, g, b);
    TAV_RGBtoHSV(c, &h, &s, &v);
    Append(text, size, &used, "(H,S,V)=(%d,%d,%d)\n", h, s, v);
    TAV_RGBtoYCrCb(c, &luma, &c1, &c2);
    Append(text, size, &used, "(Y,Cr,Cb)=(%d,%d,%d)\n", luma, c1, c2);
    TAV_RGBtoYuv(c, &luma, &c1, &c2);
    Append(text, size, &used, "(Y,u,v)=(%d,%d,%d)\n", luma, c1, c2);
    TAV_RGBtoYIQ(c, &luma, &c1, &c2);
    Append(text, size, &used, "(Y,I,Q)=(%d,%d,%d)\n\n", luma, c1, c2);
    return (int)used;
}
