// Single-pixel access to the current image: the innermost calls of every
// per-pixel loop. Each does one slot lookup, one unsigned bounds test and one
// memory access.
#include <cstring>

#include "image/image_table.h"
#include "imageops/drawing_state.h"
#include "tavkit.h"

namespace {

// Position of pixel (x, y) of the current image: the image number and the
// element index (ColorWords on a 32-bit image, bytes on an 8-bit one), or
// false when the image does not exist or the point is outside.
struct PixelPlace { int image; size_t index; bool wide; };

inline bool Locate(int x, int y, PixelPlace* place)
{
    // The tests are combined into one branch: per-pixel loops then spend
    // their time on the pixels, not on predicting four separate jumps. The
    // slot read for an out-of-range number stays inside the table and is
    // never used.
    const unsigned n = (unsigned)CurrentImage;
    const ImageSlot& slot = ImageTable[n & (ImageCount - 1)];
    const bool outside = (n >= ImageCount) | (slot.inUse == 0) | ((unsigned)x >= (unsigned)slot.width) |
                         ((unsigned)y >= (unsigned)slot.height);
    if (outside) return false;
    place->image = (int)n;
    place->wide = slot.bits == 32;
    const size_t stride = place->wide ? (size_t)slot.width : (size_t)Stride8(slot.width);
    place->index = (size_t)y * stride + (size_t)x;
    return true;
}

inline void Store(int x, int y, uint32_t color)
{
    PixelPlace p;
    if (!Locate(x, y, &p)) return;
    if (p.wide) Pixels32[p.image][p.index] = color;
    else Pixels8[p.image][p.index] = (uint8_t)color;
}

inline void Invert(int x, int y)
{
    PixelPlace p;
    if (!Locate(x, y, &p)) return;
    if (p.wide) Pixels32[p.image][p.index] ^= 0xFFFFFFu;
    else Pixels8[p.image][p.index] = (uint8_t)~Pixels8[p.image][p.index];
}

} // namespace

void TAV_SetPixel(int x, int y, uint32_t color)
{
    PenPosition.x = x;
    PenPosition.y = y;
    Store(x, y, color);
}

void TAV_PlotPixel(int x, int y, uint32_t color) { Store(x, y, color); }

uint32_t TAV_GetPixel(int x, int y)
{
    PixelPlace p;
    if (!Locate(x, y, &p)) return 0;
    return p.wide ? Pixels32[p.image][p.index] : Pixels8[p.image][p.index];
}

int TAV_ProbePixel(int x, int y)
{
    PixelPlace p;
    if (!Locate(x, y, &p)) return -1;
    return p.wide ? (int)Pixels32[p.image][p.index] : (int)Pixels8[p.image][p.index];
}

void TAV_XorPixel(int x, int y)
{
    PenPosition.x = x;
    PenPosition.y = y;
    Invert(x, y);
}

void TAV_XorPlotPixel(int x, int y) { Invert(x, y); }

void TAV_ClearImage(int number)
{
    if (!ImageInUse(number)) return;
    const ImageSlot& slot = ImageTable[number];
    const size_t rowBytes = slot.bits == 32 ? (size_t)slot.width * 4 : (size_t)Stride8(slot.width);
    std::memset(Pixels8[number], 0, rowBytes * (size_t)slot.height);
}
