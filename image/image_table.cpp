// The image table's state (see image_table.h).
#include "image/image_table.h"

ImageSlot ImageTable[ImageCount];
uint32_t* Pixels32[ImageCount];
uint8_t* Pixels8[ImageCount];
int CurrentImage;
int SelectionHistory[SelectionHistoryDepth];
