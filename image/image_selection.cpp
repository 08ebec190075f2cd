// The current image and its selection history of eight entries.
#include "image/image_table.h"
#include "tavkit.h"

int TAV_SelectImage(int number)
{
    if (!ImageInUse(number)) return 1;
    for (int i = SelectionHistoryDepth - 1; i > 0; --i) SelectionHistory[i] = SelectionHistory[i - 1];
    SelectionHistory[0] = CurrentImage;
    CurrentImage = number;
    return 0;
}

// The oldest entry stays where it is, so it repeats once the history runs dry.
int TAV_RestoreImage(void)
{
    if (!ImageInUse(SelectionHistory[0])) return 1;
    CurrentImage = SelectionHistory[0];
    for (int i = 0; i < SelectionHistoryDepth - 1; ++i) SelectionHistory[i] = SelectionHistory[i + 1];
    return 0;
}
