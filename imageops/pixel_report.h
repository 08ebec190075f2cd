// Text of the pixel colour report of one point of the current image.
#ifndef TAV_PIXEL_REPORT_H
#define TAV_PIXEL_REPORT_H

#include <cstddef>

// Writes the report of point (x, y) into `text` (at most `size` bytes, always
// terminated, cut when too small) and returns its length as written. A 32-bit
// image gives its RGB, HSV, YCrCb, Yuv and YIQ lines, an 8-bit image its
// luminance line; when the current image does not exist only the point is given.
int FormatPixelReport(int x, int y, char* text, size_t size);

#endif
