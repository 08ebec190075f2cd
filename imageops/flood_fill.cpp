// Four-connected scan-line flood fill with a bounded seed stack.
#include <cstdint>

#include "imageops/drawing_state.h"
#include "imageops/pixel_access.h"
#include "tavkit.h"

namespace {

enum { FillSeedLimit = 4000 };

// Colours are compared in the image's own pixel form (a byte on an 8-bit
// image), and a point outside the image never matches, even when the target
// word is 0xFFFFFFFF and so equals the outside answer of TAV_ProbePixel.
inline bool HasTarget(int x, int y, uint32_t target)
{
    return InsideCurrentImage(x, y) && (uint32_t)TAV_ProbePixel(x, y) == target;
}

struct SeedStack {
    int x[FillSeedLimit];
    int y[FillSeedLimit];
    int count;
};

// Pushes (x, y) when `marker` is set, the point has the target colour and
// there is room; a full stack drops the seed. The marker is cleared after a
// push and set again once the neighbour row leaves the target colour, so each
// run of the neighbour row gets one seed.
void MarkNeighbour(SeedStack* stack, bool* marker, int x, int y, uint32_t target)
{
    const bool match = HasTarget(x, y, target);
    if (*marker && match && stack->count < FillSeedLimit) {
        stack->x[stack->count] = x;
        stack->y[stack->count] = y;
        ++stack->count;
        *marker = false;
    } else if (!*marker && !match) {
        *marker = true;
    }
}

} // namespace

void TAV_FloodFill(int x, int y)
{
    if (!InsideCurrentImage(x, y)) return;
    const uint32_t target = (uint32_t)TAV_ProbePixel(x, y);
    const uint32_t fill = DrawingColor;
    if (target == InCurrentPixelForm(fill)) return;

    SeedStack stack;
    stack.count = 0;
    for (;;) {
        while (HasTarget(x - 1, y, target)) --x;
        const int left = x;
        bool above = true, below = true;
        while (HasTarget(x, y, target)) {
            MarkNeighbour(&stack, &above, x, y - 1, target);
            MarkNeighbour(&stack, &below, x, y + 1, target);
            ++x;
        }
        TAV_DrawLine(left, y, x - 1, y, fill);

        do {
            if (stack.count == 0) return;
            --stack.count;
            x = stack.x[stack.count];
            y = stack.y[stack.count];
        } while (!HasTarget(x, y, target));
    }
}
