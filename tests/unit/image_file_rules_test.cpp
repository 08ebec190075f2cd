// Extension rule, save formats and dialog filter lists of image files.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "image/image_file_rules.h"

namespace {

std::wstring Ensured(const std::wstring& path, const wchar_t* extension, bool* ok = nullptr)
{
    wchar_t buffer[PathChars + 8];
    wmemset(buffer, L'#', PathChars + 8);
    wcscpy(buffer, path.c_str());
    bool r = EnsureExtension(buffer, extension);
    if (ok) *ok = r;
    for (int i = PathChars; i < PathChars + 8; ++i) EXPECT_EQ(buffer[i], L'#') << "written past the path";
    return buffer;
}

TEST(EnsureExtension, AppendsUnlessTheLastFourCharactersHoldIt)
{
    struct Case { const wchar_t* path; int format; const wchar_t* result; };
    const Case cases[] = {
        {L"photo.jpeg", 1, L"photo.jpeg.jpg"},
        {L"PHOTO.JPG", 1, L"PHOTO.JPG"},
        {L"C:\\pics\\Scan.BMP", 0, L"C:\\pics\\Scan.BMP"},
        {L"ab", 3, L"ab.png"},
        {L".gif", 2, L".gif"},
        {L"noname", 4, L"noname.tif"},
        {L"a.tiff", 4, L"a.tiff.tif"},
        {L"", 0, L".bmp"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Ensured(c.path, SaveFormats[c.format].extension), c.result) << c.path;
}

TEST(EnsureExtension, KeepsTheResultWithin259Characters)
{
    bool ok = false;
    std::wstring fits(255, L'x');
    EXPECT_EQ(Ensured(fits, L".png", &ok), fits + L".png");
    EXPECT_TRUE(ok);

    std::wstring tooLong(256, L'x');
    EXPECT_EQ(Ensured(tooLong, L".png", &ok), tooLong);
    EXPECT_FALSE(ok);

    std::wstring full(255, L'x');
    full += L".BMP"; // 259 characters already ending in the extension
    EXPECT_EQ(Ensured(full, L".bmp", &ok), full);
    EXPECT_TRUE(ok);
}

TEST(SaveFilters, MapToFormatsAndAllFilesSavesBmp)
{
    const int expected[] = {-1, 0, 0, 1, 2, 3, 4, -1};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(SaveFilterToFormat(i), expected[i]) << i;
    EXPECT_EQ(SaveFilterToFormat(-5), -1);
}

TEST(FilterList, IsDoubleNulTerminatedAndBounded)
{
    wchar_t list[512];
    ASSERT_TRUE(BuildFilterList(SaveFilterCount, list, 512));
    std::wstring joined;
    const wchar_t* p = list;
    int parts = 0;
    while (*p) {
        joined += p;
        joined += L'|';
        p += wcslen(p) + 1;
        ++parts;
    }
    EXPECT_EQ(parts, 2 * SaveFilterCount);
    EXPECT_EQ(joined.substr(0, 41), L"All Files (*.*)|*.*|BMP (*.BMP;*.RLE;*.DI");
    EXPECT_NE(joined.find(L"TIFF (*.TIF;*.TIFF)|*.TIF;*.TIFF|"), std::wstring::npos);

    // Exactly the room needed works; one unit less fails without overrunning.
    int needed = (int)(p - list) + 1;
    wchar_t tight[512];
    EXPECT_TRUE(BuildFilterList(SaveFilterCount, tight, needed));
    wmemset(tight, L'#', 512);
    EXPECT_FALSE(BuildFilterList(SaveFilterCount, tight, needed - 1));
    EXPECT_EQ(tight[needed - 1], L'#');
}


TEST(ClearTopBytes, OnlyInsideTheImageAndTheRectangle)
{
    const int w = 7, h = 5;
    struct Case { int x, y, rw, rh; };
    const Case cases[] = {{0, 0, 7, 5}, {-10, 1, 12, 2}, {5, -3, 100, 100}, {7, 0, 3, 3}, {-4, -4, 3, 3},
                          {2, 2, 0, 9}, {2000000000, 0, 2000000000, 1}};
    for (const Case& c : cases) {
        std::vector<uint32_t> pixels(w * h, 0xFF123456u);
        ClearTopBytes(pixels.data(), w, h, c.x, c.y, c.rw, c.rh);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                bool inside = x >= c.x && (int64_t)x < (int64_t)c.x + c.rw && y >= c.y && (int64_t)y < (int64_t)c.y + c.rh;
                EXPECT_EQ(pixels[y * w + x], inside ? 0x00123456u : 0xFF123456u) << c.x << "," << c.y << " at " << x << "," << y;
            }
    }
}

} // namespace
