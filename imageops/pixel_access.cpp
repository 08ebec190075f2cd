// Single-pixel access to the current image: the innermost calls of every
// per-pixel loop. Each does one slot lookup, the unsigned bounds tests and one
// memory access, written so that a loop inlining them keeps the slot in
// registers and tests the row once.
#include <cstring>

#include "image/image_table.h"
#include "imageops/drawing_state.h"
#include "tavkit.h"

namespace {

// Position of pixel (x, y) of the current image: the first byte of its buffer
// and the element index (ColorWords on a 32-bit image, bytes on an 8-bit
// one), or false when the image does not exist or the point is outside.
struct PixelPlace { uint8_t* buffer; size_t index; bool wide; };

inline uint32_t& Word(const PixelPlace& p) { return reinterpret_cast<uint32_t*>(p.buffer)[p.index]; }

// Writes byte p.index of an 8-bit image through the aligned ColorWord holding
// it (rows are padded to whole words, so the word lies inside the buffer). A
// store of a character type may alias anything, the slot table included, and
// would make every per-pixel loop reload the slot after each write; a word
// store cannot touch the slot's fields, which are all of another type.
inline void StoreByte(const PixelPlace& p, uint32_t byte)
{
    uint32_t* word = reinterpret_cast<uint32_t*>(p.buffer + (p.index & ~(size_t)3));
    const unsigned shift = (unsigned)(p.index % 4) * 8;   // little-endian byte order
    *word = (*word & ~(0xFFu << shift)) | ((byte & 0xFFu) << shift);
}

inline bool Locate(int x, int y, PixelPlace* place)
{
    // Every read of the slot comes before the tests, so that a loop over
    // pixels reads the slot once, ahead of the loop. The slot read for an
    // out-of-range number stays inside the table and is never used.
    const unsigned n = (unsigned)CurrentImage;
    const unsigned k = n & (ImageCount - 1);
    const ImageSlot& slot = ImageTable[k];
    const bool wide = slot.bits == 32;
    const size_t stride = wide ? (size_t)slot.width : (size_t)Stride8((int)slot.width);
    place->buffer = Pixels8[k];
    place->wide = wide;
    place->index = (size_t)(unsigned)y * stride + (size_t)(unsigned)x;
    // Two tests: the first stays the same along a row, so a loop over a row
    // makes it once, before the row.
    if ((n >= ImageCount) | (slot.inUse == 0) | ((unsigned)y >= (unsigned)slot.height)) return false;
    return (unsigned)x < (unsigned)slot.width;
}

inline void Store(int x, int y, uint32_t color)
{
    PixelPlace p;
    if (!Locate(x, y, &p)) return;
    if (p.wide) Word(p) = color;
    else StoreByte(p, color);
}

inline void Invert(int x, int y)
{
    PixelPlace p;
    if (!Locate(x, y, &p)) return;
    if (p.wide) Word(p) ^= 0xFFFFFFu;
    else StoreByte(p, ~(uint32_t)p.buffer[p.index]);
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
    return p.wide ? Word(p) : p.buffer[p.index];
}

int TAV_ProbePixel(int x, int y)
{
    PixelPlace p;
    if (!Locate(x, y, &p)) return -1;
    return p.wide ? (int)Word(p) : (int)p.buffer[p.index];
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
