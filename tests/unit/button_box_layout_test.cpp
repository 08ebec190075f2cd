// Window-free rules of the button box: shape checks, grid, cell under the
// cursor, relayout, commands and keys.
#include <gtest/gtest.h>

#include <climits>

#include "boxes/button_box_layout.h"

namespace {

TEST(ButtonBoxShape, AtMost256ButtonsAndBothSidesPositive)
{
    struct Case { int nx, ny; bool valid; };
    const Case cases[] = {
        {16, 16, true}, {2, 13, true}, {1, 1, true}, {256, 1, true}, {1, 256, true},
        {16, 17, false}, {0, 5, false}, {5, 0, false}, {-1, -1, false}, {-16, -16, false},
        {257, 1, false}, {65536, 65536, false}, {INT_MAX, 2, false}, // products that overflow int
    };
    for (const Case& c : cases) EXPECT_EQ(ButtonBoxShapeValid(c.nx, c.ny), c.valid) << c.nx << "x" << c.ny;
}

TEST(ButtonBoxGrid, StartSizeAndPositions)
{
    EXPECT_EQ(ButtonBoxClientLength(2, StartButtonWidth), 208);
    EXPECT_EQ(ButtonBoxClientLength(13, StartButtonHeight), 394);
    struct Case { int index, x, y; };
    const Case cases[] = {{0, 4, 4}, {1, 106, 4}, {2, 4, 34}, {25, 106, 364}};
    for (const Case& c : cases) {
        int x = -1, y = -1;
        ButtonOrigin(c.index, 2, 98, 26, &x, &y);
        EXPECT_EQ(x, c.x) << c.index;
        EXPECT_EQ(y, c.y) << c.index;
    }
}

TEST(ButtonBoxGrid, CellUnderTheCursorTakesTheGapBeforeEachButton)
{
    // 3 columns x 2 rows of 98 x 26 buttons: cells are 102 x 30 from the client origin.
    struct Case { unsigned x, y; int cell; const char* where; };
    const Case cases[] = {
        {0, 35, 3, "left margin of row 1 selects column 0"},
        {50, 0, 0, "top margin selects row 0"},
        {101, 10, 0, "last pixel of button 0's cell"},
        {102, 10, 1, "gap left of button 1 selects button 1"},
        {105, 29, 1, "still row 0"},
        {105, 30, 4, "gap above button 4 selects button 4"},
        {5000, 10, 2, "right of the grid clamps to the last column"},
        {10, 5000, 3, "below the grid clamps to the last row"},
        {0xFFFF, 0xFFFF, 5, "16-bit wrap of a negative coordinate clamps to the corner"},
        {0x10000 + 150, 10, 1, "only the low 16 bits count"},
    };
    for (const Case& c : cases) EXPECT_EQ(ButtonCellAt(c.x, c.y, 3, 2, 98, 26), c.cell) << c.where;
    // Buttons shrunk to nothing: each cell is the 4-pixel gap alone.
    EXPECT_EQ(ButtonCellAt(9, 0, 16, 1, 0, 0), 2);
}

TEST(ButtonBoxRelayout, ButtonsShareTheRoomLeftByTheGaps)
{
    struct Case { int client, cells, length; };
    const Case cases[] = {
        {208, 2, 98},    // the start size comes back unchanged
        {394, 13, 26},
        {309, 3, 97},    // 309 - 16 = 293, truncated to 97
        {69, 16, 0},     // 4 x 16 + 5: one pixel for 16 buttons
        {68, 16, 0},
        {0, 16, 0},
        {9, 1, 1},       // one column always keeps 1 pixel
        {0, 1, 1},
        {-20, 1, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(FitButtonLength(c.client, c.cells), c.length) << c.client << "/" << c.cells;
}

TEST(ButtonBoxCommands, OnlyClicksOfExistingButtonsCount)
{
    struct Case { int id, notification, count, button; };
    const Case cases[] = {
        {3000, 0, 4, 0}, {3003, 0, 4, 3}, {3004, 0, 4, -1}, {2999, 0, 4, -1},
        {3001, 1, 4, -1},                         // a notification other than a click
        {CMD_BB_DESTROY, 0, 256, -1}, {CMD_BB_RENAME, 0, 256, -1},
        {3255, 0, 256, 255}, {3256, 0, 256, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(ClickedButton(c.id, c.notification, c.count), c.button) << c.id;
}

TEST(ButtonBoxKeys, CommandKeysDigitsAndCtrlQ)
{
    struct Case { int key; bool ctrl; ButtonBoxKeyAction action; int digit; };
    const Case cases[] = {
        {'X', false, BBKEY_TO_MAIN, -1}, {0x1B, false, BBKEY_TO_MAIN, -1},
        {'S', false, BBKEY_TO_MAIN, -1}, {'C', false, BBKEY_TO_MAIN, -1},
        {'X', true, BBKEY_IGNORE, -1},   {0x1B, true, BBKEY_IGNORE, -1},
        {'0', false, BBKEY_COUNT_DIGIT, 0}, {'7', false, BBKEY_COUNT_DIGIT, 7},
        {'9', false, BBKEY_COUNT_DIGIT, 9}, {0x60, false, BBKEY_COUNT_DIGIT, 0},
        {0x67, false, BBKEY_COUNT_DIGIT, 7}, {0x69, false, BBKEY_COUNT_DIGIT, 9},
        {'7', true, BBKEY_IGNORE, -1},   {0x6A, false, BBKEY_IGNORE, -1}, // keypad *
        {'Q', true, BBKEY_CLOSE, -1},    {'Q', false, BBKEY_IGNORE, -1},
        {'A', false, BBKEY_IGNORE, -1},  {0x0D, false, BBKEY_IGNORE, -1},
    };
    for (const Case& c : cases) {
        int digit = -1;
        EXPECT_EQ(ClassifyButtonBoxKey(c.key, c.ctrl, &digit), c.action) << c.key << " ctrl " << c.ctrl;
        EXPECT_EQ(digit, c.digit) << c.key;
    }
}

} // namespace
