// Mending what a platform encoder gets wrong in the colour table of an
// indexed file it wrote, so that strict decoders read the file as it was meant.
#ifndef TAV_FILE_MENDING_H
#define TAV_FILE_MENDING_H

#include <cstddef>
#include <cstdint>

// A BMP file's header (its first 6 bytes) has a file-size field; some
// encoders leave the colour table out of it, and strict decoders then refuse
// the file. Writes the real size into `header` and returns true when the
// field disagrees with `fileSize`; false (nothing to do) otherwise.
bool FixBmpSizeField(uint8_t header[6], uint64_t fileSize);

// A TIFF file's colour map holds 16-bit intensities, 65535 the brightest.
// Some encoders write an 8-bit colour v as v << 8 (so 255 is not the
// brightest); rewrites such a map of the first image as v * 257, which every
// decoder reads back as v. `file` is the whole file. Returns true when it
// changed the map; false for other files and maps already in full range.
bool FixTiffColorMap(uint8_t* file, size_t size);

#endif
