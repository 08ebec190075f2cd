// Nearest colour-table entry (see color_match.h).
#include "image/color_match.h"

void InitColorMatcher(ColorMatcher* m, const uint8_t table[256 * 4])
{
    for (int i = 0; i < 256; ++i)
        m->table[i] = (uint32_t)table[4 * i + 2] << 16 | (uint32_t)table[4 * i + 1] << 8 | table[4 * i];
    for (int i = 0; i < MatchCacheSize; ++i) m->cacheKey[i] = 0xFFFFFFFFu;
}

static int Distance(uint32_t a, uint32_t b)
{
    int dr = (int)((a >> 16) & 255) - (int)((b >> 16) & 255);
    int dg = (int)((a >> 8) & 255) - (int)((b >> 8) & 255);
    int db = (int)(a & 255) - (int)(b & 255);
    return dr * dr + dg * dg + db * db;
}

int MatchColor(ColorMatcher* m, uint32_t color)
{
    color &= 0xFFFFFFu;
    uint32_t slot = (color * 2654435761u) >> 20; // 12-bit hash
    if (m->cacheKey[slot] == color) return m->cacheIndex[slot];
    int best = 0, bestDistance = Distance(color, m->table[0]);
    for (int i = 1; i < 256 && bestDistance > 0; ++i) {
        int d = Distance(color, m->table[i]);
        if (d < bestDistance) { best = i; bestDistance = d; }
    }
    m->cacheKey[slot] = color;
    m->cacheIndex[slot] = (uint8_t)best;
    return best;
}
