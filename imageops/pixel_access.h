// Internal helpers over the current image for the drawing operations.
#ifndef TAV_PIXEL_ACCESS_H
#define TAV_PIXEL_ACCESS_H

#include <cstdint>

#include "image/image_table.h"

// The current image's slot when it is in use, else nullptr.
inline const ImageSlot* CurrentSlot()
{
    return ImageInUse(CurrentImage) ? &ImageTable[CurrentImage] : nullptr;
}

// True when (x, y) lies inside the current image (and that image exists).
inline bool InsideCurrentImage(int x, int y)
{
    const ImageSlot* slot = CurrentSlot();
    return slot && (unsigned)x < (unsigned)slot->width && (unsigned)y < (unsigned)slot->height;
}

// What a write of `color` leaves in a pixel of the current image, as the
// readers return it: the whole word on a 32-bit image, the low byte on an 8-bit one.
inline uint32_t InCurrentPixelForm(uint32_t color)
{
    const ImageSlot* slot = CurrentSlot();
    return (slot && slot->bits != 32) ? (color & 0xFFu) : color;
}

#endif
