// Nearest colour-table entry for a colour, as drawing into an 8-bit image
// needs it: the entry at the smallest RGB distance, the lowest index among
// equals (so an exact colour always finds its first entry).
#ifndef TAV_COLOR_MATCH_H
#define TAV_COLOR_MATCH_H

#include <cstdint>

enum { MatchCacheSize = 4096 };

struct ColorMatcher {
    uint32_t table[256];                // ColorWords of the colour table
    uint32_t cacheKey[MatchCacheSize];  // colours looked up lately (0xFFFFFFFF: empty)
    uint8_t cacheIndex[MatchCacheSize]; // their entries
};

// `table` holds 256 entries in the platform's order (blue, green, red, reserved).
void InitColorMatcher(ColorMatcher* matcher, const uint8_t table[256 * 4]);
int MatchColor(ColorMatcher* matcher, uint32_t color); // color: a ColorWord; the top byte is ignored

#endif
