// The text window table's state and its window-free rules (see text_window_table.h).
#include "console/text_window_table.h"

TextWindowSlot TextWindowTable[TextWindowCount];
int CurrentTextWindow;
std::mutex TextWindowLock;

void ClearTextWindowTable(void)
{
    std::lock_guard<std::mutex> guard(TextWindowLock);
    for (TextWindowSlot& slot : TextWindowTable) slot.inUse = 0;
    CurrentTextWindow = 0;
}

int LowestOpenTextWindow(void)
{
    for (int n = 0; n < TextWindowCount; ++n)
        if (TextWindowTable[n].inUse) return n;
    return -1;
}

void ResetTextColors(TextWindowSlot& slot)
{
    slot.textColor = WhiteColor;
    slot.backColor = BlackColor;
    for (int k = 0; k < TextColorStackDepth; ++k) {
        slot.savedTextColors[k] = WhiteColor;
        slot.savedBackColors[k] = BlackColor;
    }
}

void PushTextColors(TextWindowSlot& slot, uint32_t textColor, uint32_t backColor)
{
    for (int k = TextColorStackDepth - 1; k > 0; --k) {
        slot.savedTextColors[k] = slot.savedTextColors[k - 1];
        slot.savedBackColors[k] = slot.savedBackColors[k - 1];
    }
    slot.savedTextColors[0] = slot.textColor;
    slot.savedBackColors[0] = slot.backColor;
    slot.textColor = textColor;
    slot.backColor = backColor;
}

void PopTextColors(TextWindowSlot& slot)
{
    slot.textColor = slot.savedTextColors[0];
    slot.backColor = slot.savedBackColors[0];
    for (int k = 0; k < TextColorStackDepth - 1; ++k) {
        slot.savedTextColors[k] = slot.savedTextColors[k + 1];
        slot.savedBackColors[k] = slot.savedBackColors[k + 1];
    }
}
