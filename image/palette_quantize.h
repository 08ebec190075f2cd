// Choosing a palette of at most 256 colours for a 32-bit picture, for file
// formats that hold only indexed pixels (GIF).
#ifndef TAV_PALETTE_QUANTIZE_H
#define TAV_PALETTE_QUANTIZE_H

#include <cstdint>

enum { PaletteEntries = 256 };

// Reads `count` ColorWords (the top byte is ignored), writes one palette index
// per pixel into `indexes` and the palette (ColorWords) into `palette`.
// Returns the number of palette entries used (1..256; 0 when count is 0).
// A picture of at most 256 distinct colours is reproduced exactly; a richer
// one is reduced by median cut on a 5-bit-per-channel histogram, each pixel
// taking the palette entry nearest to its histogram cell's mean colour.
int QuantizeToPalette(const uint32_t* pixels, int64_t count, uint32_t palette[PaletteEntries],
                      uint8_t* indexes);

#endif
