// The image table's state (see image_table.h), its clearing and the lookup of
// an image by its window.
#include "image/image_table.h"

#include <cstring>

#include "tavkit.h"

ImageSlot ImageTable[ImageCount];
uint32_t* Pixels32[ImageCount];
uint8_t* Pixels8[ImageCount];
DisplayBuffer DisplayBuffers[ImageCount];
long CurrentImage;
int SelectionHistory[SelectionHistoryDepth];

void ClearImageTable(void)
{
    memset(ImageTable, 0, sizeof ImageTable);
    memset(DisplayBuffers, 0, sizeof DisplayBuffers);
    CurrentImage = 0;
    memset(SelectionHistory, 0, sizeof SelectionHistory);
}

int ImageFromWindow(const void* window)
{
    for (int n = 0; n < ImageCount; ++n)
        if (ImageTable[n].inUse && ImageTable[n].window == window) return n;
    return -1;
}

int SelectImageFromWindow(const void* window)
{
    int n = ImageFromWindow(window);
    TAV_SelectImage(n);
    return n;
}
