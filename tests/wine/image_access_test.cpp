// What a user program reads of an image and does with its window.
#include <windows.h>

#include <gtest/gtest.h>

#include "image/image_win32.h"
#include "tavkit.h"

namespace {

TEST(ImageAccess, InfoMoveAndRefusals)
{
    ClearImageTable();
    ASSERT_EQ(TAV_CreateImage8(7, "seven", 40, 50, 5, 3, 100), 0);
    TavImageInfo info = {};
    ASSERT_EQ(TAV_GetImageInfo(7, &info), 0);
    EXPECT_EQ(info.pixels, (void*)Pixels8[7]);
    EXPECT_EQ(info.width, 5);
    EXPECT_EQ(info.height, 3);
    EXPECT_EQ(info.bits, 8);
    EXPECT_EQ(info.windowX, 40);
    EXPECT_EQ(info.windowY, 50);

    EXPECT_EQ(TAV_MoveImageWindow(7, 216, 140), 0);
    ASSERT_EQ(TAV_GetImageInfo(7, &info), 0);
    EXPECT_EQ(info.windowX, 216);
    EXPECT_EQ(info.windowY, 140);
    EXPECT_EQ(TAV_BringImageToFront(7), 0);

    for (int bad : {-1, 6, 256}) {
        EXPECT_EQ(TAV_GetImageInfo(bad, &info), 1);
        EXPECT_EQ(TAV_MoveImageWindow(bad, 0, 0), 1);
        EXPECT_EQ(TAV_BringImageToFront(bad), 1);
    }
    TAV_DestroyImage(7);
    TAV_ProcessMessages();
}

} // namespace
