// Window-free rules of the button box: grid geometry, relayout, commands, keys.
#include "boxes/button_box_layout.h"

#include "tavkit.h"

int NX;
int NY;
int ButtonCount;
int ButtonWidth = StartButtonWidth;
int ButtonHeight = StartButtonHeight;
void* ButtonWindows[MaxButtons];
int RenameTarget;
int ButtonBoxSerial;
int ButtonClicks[MaxButtons];

bool ButtonBoxShapeValid(int nx, int ny)
{
    return nx > 0 && ny > 0 && (long long)nx * ny <= MaxButtons;
}

int ButtonBoxClientLength(int cells, int buttonLength)
{
    return (buttonLength + ButtonGap) * cells + ButtonGap;
}

void ButtonOrigin(int index, int nx, int buttonWidth, int buttonHeight, int* x, int* y)
{
    *x = (buttonWidth + ButtonGap) * (index % nx) + ButtonGap;
    *y = (buttonHeight + ButtonGap) * (index / nx) + ButtonGap;
}

static int ClampCell(int cell, int cells)
{
    if (cell < 0) return 0;
    return cell < cells ? cell : cells - 1;
}

int ButtonCellAt(unsigned x, unsigned y, int nx, int ny, int buttonWidth, int buttonHeight)
{
    int column = (int)((x & 0xFFFFu) / (unsigned)(buttonWidth + ButtonGap));
    int row = (int)((y & 0xFFFFu) / (unsigned)(buttonHeight + ButtonGap));
    return ClampCell(row, ny) * nx + ClampCell(column, nx);
}

int FitButtonLength(int clientLength, int cells)
{
    int available = clientLength - (ButtonGap * cells + ButtonGap);
    if (available < 1) available = 1;
    return available / cells;
}

int ClickedButton(int id, int notification, int count)
{
    if (notification != 0) return -1;
    int index = id - ButtonIdBase;
    return index >= 0 && index < count ? index : -1;
}

ButtonBoxKeyAction ClassifyButtonBoxKey(int key, bool ctrl, int* digit)
{
    const int VkEscape = 0x1B, VkNumpad0 = 0x60;
    if (ctrl) return key == 'Q' ? BBKEY_CLOSE : BBKEY_IGNORE;
    if (key == 'X' || key == VkEscape || key == 'S' || key == 'C') return BBKEY_TO_MAIN;
    if (key >= '0' && key <= '9') {
        *digit = key - '0';
        return BBKEY_COUNT_DIGIT;
    }
    if (key >= VkNumpad0 && key <= VkNumpad0 + 9) {
        *digit = key - VkNumpad0;
        return BBKEY_COUNT_DIGIT;
    }
    return BBKEY_IGNORE;
}

void ForgetButtonBoxWindows(void)
{
    for (void*& button : ButtonWindows) button = nullptr;
}
