// Window-free sizing rules of image windows: fitting a zoom to the client
// size limits, the zoom steps of the keys and wheel, and the largest pixel
// buffer the library asks the platform for.
#ifndef TAV_IMAGE_FIT_H
#define TAV_IMAGE_FIT_H

#include <cstdint>

// Client-area limits of an image window, in screen pixels.
struct ClientSizeLimits {
    int minWidth;
    int minHeight;
    int maxWidth;
    int maxHeight;
};

// A fitted display: client size and the zoom actually used.
struct DisplayFit {
    int width;
    int height;
    int zoom;
};

// Lowers the requested zoom until a width x height image fits within the
// maximum client size (keeping its aspect ratio), raises it until the client
// area reaches the minimum, and gives the zoom and client size used. False
// when no zoom meets both limits. Computed exactly: a zoom that fits comes
// back unchanged.
bool FitDisplaySize(int width, int height, int zoom, const ClientSizeLimits& limits, DisplayFit* fit);

// One step of the zoom keys and wheel: about +11 % and -10 %.
inline int ZoomInStep(int zoom) { return (10 * zoom + 4) / 9; }
inline int ZoomOutStep(int zoom) { return (9 * zoom + 5) / 10; }

// Bytes of the pixel buffer of a width x height image of `bits` (8-bit rows
// padded to a multiple of 4), and the most the library will ask for: larger
// sizes would overflow the platform's 32-bit size arithmetic.
int64_t ImageBufferBytes(int width, int height, int bits);
const int64_t MaxImageBufferBytes = 0x7FFFFFFF;

#endif
