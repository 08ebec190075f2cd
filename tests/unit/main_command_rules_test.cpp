// Numbers typed into the main window's console dialogs and new image titles.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "shell/main_command_rules.h"

namespace {

TEST(LineNumber, ReadsALeadingDecimalInteger)
{
    struct Case { const char* line; int value; };
    const Case cases[] = {
        {"320", 320}, {"  240", 240}, {"\t-7x", -7}, {"+32", 32}, {"8bit", 8},
        {"", 0}, {"abc", 0}, {"- 5", 0}, {"--5", 0}, {"0x20", 0}, {"1 2", 1},
        {"99999999999999999999", INT_MAX}, {"-99999999999999999999", INT_MIN},
        {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseLineNumber(c.line), c.value) << '"' << c.line << '"';
}

TEST(ImageTitle, NumberedWithTheNameAndBounded)
{
    char title[ImageTitleBytes];
    FormatImageTitle(title, sizeof title, 7, "cat.png");
    EXPECT_STREQ(title, "007 cat.png");
    FormatImageTitle(title, sizeof title, 255, nullptr);
    EXPECT_STREQ(title, "255");

    std::string longName(259, 'n');
    FormatImageTitle(title, sizeof title, 12, longName.c_str());
    EXPECT_EQ(std::string(title), "012 " + longName);

    char small[8];
    memset(small, '#', sizeof small);
    FormatImageTitle(small, 6, 3, "picture.bmp");
    EXPECT_STREQ(small, "003 p");
    EXPECT_EQ(small[6], '#');
}

TEST(PopupGreying, GreyWhileRunningOrWaitingForALine)
{
    EXPECT_EQ(GreyableItemState(0, 0), 0);
    EXPECT_EQ(GreyableItemState(1, 0), 3);
    EXPECT_EQ(GreyableItemState(0, 1), 3);
    EXPECT_EQ(GreyableItemState(1, 5), 3);
}

} // namespace
