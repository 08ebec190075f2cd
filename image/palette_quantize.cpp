// Palette choice for indexed file formats (see palette_quantize.h).
#include "image/palette_quantize.h"

#include <algorithm>
#include <vector>

namespace {

const uint32_t EmptyKey = 0xFFFFFFFFu; // never a colour: colours are masked to 24 bits

// The exact palette: succeeds when the picture has at most 256 colours.
bool ExactPalette(const uint32_t* pixels, int64_t count, uint32_t palette[PaletteEntries],
                  uint8_t* indexes, int* used)
{
    enum { Slots = 1024 }; // power of two, four times the palette
    uint32_t keys[Slots];
    uint8_t values[Slots];
    std::fill(keys, keys + Slots, EmptyKey);
    int n = 0;
    for (int64_t i = 0; i < count; ++i) {
        uint32_t c = pixels[i] & 0xFFFFFFu;
        uint32_t s = (c * 2654435761u) >> 22; // 10-bit multiplicative hash
        while (keys[s] != EmptyKey && keys[s] != c) s = (s + 1) & (Slots - 1);
        if (keys[s] == EmptyKey) {
            if (n == PaletteEntries) return false;
            keys[s] = c;
            values[s] = (uint8_t)n;
            palette[n++] = c;
        }
        indexes[i] = values[s];
    }
    *used = n;
    return true;
}

enum { CellBits = 5, CellCount = 1 << (3 * CellBits) };

inline int CellOf(uint32_t c)
{
    return (int)(((c >> 19) & 31) << 10 | ((c >> 11) & 31) << 5 | ((c >> 3) & 31));
}

inline int Axis(int cell, int axis) { return (cell >> (10 - 5 * axis)) & 31; } // 0 red, 1 green, 2 blue

struct Histogram {
    std::vector<uint32_t> count;
    std::vector<uint64_t> sum[3]; // red, green, blue
    Histogram() : count(CellCount, 0)
    {
        for (auto& s : sum) s.assign(CellCount, 0);
    }
    uint32_t Mean(int cell) const
    {
        uint64_t n = count[cell];
        uint32_t c = 0;
        for (int a = 0; a < 3; ++a) c = c << 8 | (uint32_t)((sum[a][cell] + n / 2) / n);
        return c;
    }
};

struct Box {
    int begin, end;     // range of the cell list
    uint64_t population;
    int longestAxis, longestSide;
};

void MeasureBox(Box& b, const std::vector<int>& cells, const Histogram& h)
{
    int lo[3] = {31, 31, 31}, hi[3] = {0, 0, 0};
    b.population = 0;
    for (int i = b.begin; i < b.end; ++i) {
        b.population += h.count[cells[i]];
        for (int a = 0; a < 3; ++a) {
            lo[a] = std::min(lo[a], Axis(cells[i], a));
            hi[a] = std::max(hi[a], Axis(cells[i], a));
        }
    }
    b.longestAxis = 0;
    for (int a = 1; a < 3; ++a)
        if (hi[a] - lo[a] > hi[b.longestAxis] - lo[b.longestAxis]) b.longestAxis = a;
    b.longestSide = hi[b.longestAxis] - lo[b.longestAxis];
}

// Splits `b` at the population median along its longest side; `second` gets the upper part.
void SplitBox(Box& b, Box& second, std::vector<int>& cells, const Histogram& h)
{
    int axis = b.longestAxis;
    std::sort(cells.begin() + b.begin, cells.begin() + b.end,
              [axis](int x, int y) { return Axis(x, axis) < Axis(y, axis); });
    uint64_t half = b.population / 2, run = 0;
    int cut = b.begin + 1;
    for (int i = b.begin; i < b.end - 1; ++i) {
        run += h.count[cells[i]];
        cut = i + 1;
        if (run >= half) break;
    }
    second.begin = cut;
    second.end = b.end;
    b.end = cut;
    MeasureBox(b, cells, h);
    MeasureBox(second, cells, h);
}

int Distance(uint32_t a, uint32_t b)
{
    int d = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        int x = (int)((a >> shift) & 255) - (int)((b >> shift) & 255);
        d += x * x;
    }
    return d;
}

int MedianCutPalette(const uint32_t* pixels, int64_t count, uint32_t palette[PaletteEntries],
                     uint8_t* indexes)
{
    Histogram h;
    for (int64_t i = 0; i < count; ++i) {
        uint32_t c = pixels[i];
        int cell = CellOf(c);
        h.count[cell]++;
        h.sum[0][cell] += (c >> 16) & 255;
        h.sum[1][cell] += (c >> 8) & 255;
        h.sum[2][cell] += c & 255;
    }
    std::vector<int> cells;
    for (int cell = 0; cell < CellCount; ++cell)
        if (h.count[cell]) cells.push_back(cell);

    std::vector<Box> boxes(1);
    boxes[0].begin = 0;
    boxes[0].end = (int)cells.size();
    MeasureBox(boxes[0], cells, h);
    while ((int)boxes.size() < PaletteEntries) {
        int best = -1;
        uint64_t bestScore = 0;
        for (int i = 0; i < (int)boxes.size(); ++i) {
            if (boxes[i].end - boxes[i].begin < 2) continue;
            uint64_t score = boxes[i].population * (uint64_t)(boxes[i].longestSide + 1);
            if (best < 0 || score > bestScore) { best = i; bestScore = score; }
        }
        if (best < 0) break;
        Box second;
        SplitBox(boxes[best], second, cells, h);
        boxes.push_back(second);
    }

    int used = (int)boxes.size();
    for (int i = 0; i < used; ++i) {
        uint64_t n = 0, s[3] = {0, 0, 0};
        for (int k = boxes[i].begin; k < boxes[i].end; ++k) {
            n += h.count[cells[k]];
            for (int a = 0; a < 3; ++a) s[a] += h.sum[a][cells[k]];
        }
        palette[i] = (uint32_t)((s[0] + n / 2) / n) << 16 | (uint32_t)((s[1] + n / 2) / n) << 8 |
                     (uint32_t)((s[2] + n / 2) / n);
    }

    std::vector<uint8_t> cellIndex(CellCount, 0);
    for (int cell : cells) {
        uint32_t mean = h.Mean(cell);
        int best = 0;
        for (int i = 1; i < used; ++i)
            if (Distance(mean, palette[i]) < Distance(mean, palette[best])) best = i;
        cellIndex[cell] = (uint8_t)best;
    }
    for (int64_t i = 0; i < count; ++i) indexes[i] = cellIndex[CellOf(pixels[i])];
    return used;
}

} // namespace

int QuantizeToPalette(const uint32_t* pixels, int64_t count, uint32_t palette[PaletteEntries],
                      uint8_t* indexes)
{
    if (count <= 0) return 0;
    int used = 0;
    if (ExactPalette(pixels, count, palette, indexes, &used)) return used;
    return MedianCutPalette(pixels, count, palette, indexes);
}
