// Image files through GDI+: every save format from 32-bit and 8-bit images
// and back, the region and placement rules of saving and loading, palette
// adoption, and files that give no picture.
//
// With TAV_IMAGE_FILE_DIR set (a Windows path), the round-trip test leaves its
// files there, each with a ".expect" file of the pixels it should hold (a line
// "width height bits tolerance", then width x height x 3 bytes of RGB), for an
// independent decoder to check.
#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "image/image_file_rules.h"
#include "image/image_io_win32.h"
#include "image/image_table.h"
#include "tavkit.h"

namespace {

// GDI+ for the whole test binary, as start-up provides it in the program.
class GdiplusEnvironment : public testing::Environment {
    ULONG_PTR token = 0;
public:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token, &input, nullptr);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(token); }
};
testing::Environment* const gdiplus = testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

std::string TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    char folder[MAX_PATH];
    snprintf(folder, sizeof folder, "%stav_files_%lu", base, GetCurrentProcessId());
    CreateDirectoryA(folder, nullptr);
    return folder;
}

// Pixel patterns: many colours, at most 256 colours, and a smooth one for JPEG.
enum Pattern { Busy, Few, Smooth };
const char* const PatternNames[] = {"busy", "few", "smooth"};

uint32_t Color32(Pattern p, int x, int y)
{
    switch (p) {
    case Busy:
        return (uint32_t)((x * 37 + y * 11) & 255) << 16 | (uint32_t)((x * 5 + y * 53) & 255) << 8 |
               (uint32_t)((x * x + y * 3) & 255);
    case Few: return Color32(Busy, x % 4, y % 5) ^ (uint32_t)((x + y) % 7) * 0x101010u; // at most 140
    default: return (uint32_t)(x * 6) << 16 | (uint32_t)(y * 10) << 8 | (uint32_t)((x + y) * 3);
    }
}

// 8-bit pictures: distinct table colours (neighbours nearly alike) and indexes.
RGBQUAD TableEntry(Pattern p, int i)
{
    if (p == Smooth) return RGBQUAD{(BYTE)(255 - i), (BYTE)(64 + i / 2), (BYTE)i, 0};
    return RGBQUAD{(BYTE)((i * 7) & 255), (BYTE)(255 - i), (BYTE)i, 0};
}
uint8_t Index(Pattern p, int x, int y)
{
    if (p == Smooth) return (uint8_t)(x * 5 + y * 2);
    return (uint8_t)((x * 13 + y * 29) & 255);
}

uint32_t ColorOf(RGBQUAD q) { return (uint32_t)q.rgbRed << 16 | (uint32_t)q.rgbGreen << 8 | q.rgbBlue; }

int ChannelError(uint32_t a, uint32_t b)
{
    int worst = 0;
    for (int s = 0; s < 24; s += 8) worst = std::max(worst, abs((int)((a >> s) & 255) - (int)((b >> s) & 255)));
    return worst;
}

struct ImageFiles : testing::Test {
    std::string folder;
    std::vector<std::string> files;
    std::string keep; // folder named by TAV_IMAGE_FILE_DIR

    void SetUp() override
    {
        const char* k = getenv("TAV_IMAGE_FILE_DIR");
        keep = k ? k : "";
        folder = TempFolder();
    }
    void TearDown() override
    {
        for (int n = 0; n < ImageCount; ++n)
            if (ImageTable[n].inUse) TAV_DestroyImage(n);
        for (const std::string& f : files) DeleteFileA(f.c_str());
        RemoveDirectoryA(folder.c_str());
    }
    std::string Path(const std::string& name)
    {
        std::string p = folder + "\\" + name;
        files.push_back(p);
        return p;
    }

    static void Create(int number, int width, int height, int bits)
    {
        ASSERT_EQ(TAV_CreateImage(number, "file", -1, -1, width, height, 100, bits), 0);
    }
    static uint32_t& Pixel32(int number, int x, int y) { return Pixels32[number][y * ImageTable[number].width + x]; }
    static uint8_t& Pixel8(int number, int x, int y) { return Pixels8[number][y * Stride8(ImageTable[number].width) + x]; }
    static void Fill(int number, Pattern p)
    {
        const ImageSlot& s = ImageTable[number];
        if (s.bits == 8) {
            RGBQUAD table[256];
            for (int i = 0; i < 256; ++i) table[i] = TableEntry(p, i);
            TAV_SelectImage(number);
            ASSERT_EQ(TAV_SetColorTable(table, 256), 0);
        }
        GdiFlush();
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) {
                if (s.bits == 8) Pixel8(number, x, y) = Index(p, x, y);
                else Pixel32(number, x, y) = Color32(p, x, y);
            }
    }
    static std::vector<RGBQUAD> Table(int number)
    {
        std::vector<RGBQUAD> t(256);
        TAV_SelectImage(number);
        TAV_GetColorTable(t.data());
        return t;
    }
    // Colour shown by a pixel of either depth.
    static uint32_t Shown(int number, int x, int y)
    {
        GdiFlush();
        if (ImageTable[number].bits == 32) return Pixel32(number, x, y) & 0xFFFFFF;
        return ColorOf(Table(number)[Pixel8(number, x, y)]);
    }

    // Writes the .expect file of a saved picture for the independent check.
    void Expect(const std::string& file, int number, int tolerance)
    {
        if (keep.empty()) return;
        const ImageSlot& s = ImageTable[number];
        std::string name = file.substr(file.rfind('\\') + 1);
        FILE* f = fopen((keep + "\\" + name + ".expect").c_str(), "wb");
        ASSERT_TRUE(f);
        fprintf(f, "%ld %ld %ld %d\n", s.width, s.height, s.bits, tolerance);
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) {
                uint32_t c = Shown(number, x, y);
                unsigned char rgb[3] = {(unsigned char)(c >> 16), (unsigned char)(c >> 8), (unsigned char)c};
                fwrite(rgb, 1, 3, f);
            }
        fclose(f);
    }
};

const char* const Extensions[SaveFormatCount] = {".bmp", ".jpg", ".gif", ".png", ".tif"};

struct RoundTrip {
    int format, bits;
    Pattern pattern;
    int tolerance; // worst channel error after the round trip
};
// Exact everywhere except JPEG (the encoder's quality on a smooth picture)
// and GIF of a 32-bit picture of more than 256 colours (the chosen palette).
const RoundTrip RoundTrips[] = {
    {0, 32, Busy, 0}, {0, 8, Busy, 0},
    {1, 32, Smooth, 24}, {1, 8, Smooth, 24},
    {2, 32, Few, 0}, {2, 32, Busy, 48}, {2, 8, Busy, 0},
    {3, 32, Busy, 0}, {3, 8, Busy, 0},
    {4, 32, Busy, 0}, {4, 8, Busy, 0},
};

TEST_F(ImageFiles, EveryFormatRoundTripsFrom32And8Bits)
{
    struct Size { int w, h; };
    const Size sizes[] = {{5, 3}, {37, 21}};
    for (const RoundTrip& t : RoundTrips) {
        for (const Size& size : sizes) {
            char name[64];
            snprintf(name, sizeof name, "f%d_%d_%dx%d_%s", t.format, t.bits, size.w, size.h, PatternNames[t.pattern]);
            SCOPED_TRACE(name);
            Create(0, size.w, size.h, t.bits);
            Fill(0, t.pattern);
            std::string base = (keep.empty() ? folder : keep) + "\\" + name;
            std::string file = base + Extensions[t.format];
            if (keep.empty()) files.push_back(file);
            TAV_SelectImage(0);
            ASSERT_EQ(TAV_SaveImage(size.w, size.h, t.format, base.c_str()), 0);
            ASSERT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES) << file;
            Expect(file, 0, t.tolerance);

            // Back into a fresh image of the same depth; a JPEG into a 32-bit
            // one, since an 8-bit image would add its own nearest-entry error.
            bool exact = t.tolerance == 0;
            Create(1, size.w, size.h, exact ? t.bits : 32);
            TAV_SelectImage(1);
            ASSERT_EQ(TAV_LoadImage(file.c_str(), 0, 0), 0);
            int worst = 0;
            for (int y = 0; y < size.h; ++y)
                for (int x = 0; x < size.w; ++x) worst = std::max(worst, ChannelError(Shown(1, x, y), Shown(0, x, y)));
            EXPECT_LE(worst, t.tolerance);
            if (t.bits == 8 && exact) {
                std::vector<RGBQUAD> table = Table(1);
                for (int i = 0; i < 256; ++i)
                    ASSERT_EQ(ColorOf(table[i]), ColorOf(TableEntry(t.pattern, i))) << "entry " << i;
                for (int y = 0; y < size.h; ++y)
                    for (int x = 0; x < size.w; ++x) ASSERT_EQ(Pixel8(1, x, y), Index(t.pattern, x, y));
            }
            if (ImageTable[1].bits == 32) {
                GdiFlush();
                for (int y = 0; y < size.h; ++y)
                    for (int x = 0; x < size.w; ++x) ASSERT_EQ(Pixel32(1, x, y) >> 24, 0u) << "top byte";
            }
            TAV_DestroyImage(1);
            TAV_DestroyImage(0);
        }
    }
}

// Writes `bytes` to a new file.
void WriteBytes(const std::string& path, const std::string& bytes)
{
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

std::string ReadBytes(const std::string& path)
{
    std::string bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return bytes;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    fclose(f);
    return bytes;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST_F(ImageFiles, SaveNamesTheFileByTheFormatsExtension)
{
    Create(0, 5, 3, 32);
    struct Case { const char* name; int format; const char* file; };
    const Case cases[] = {
        {"photo.jpeg", 1, "photo.jpeg.jpg"},
        {"SCAN.BMP", 0, "SCAN.BMP"},
        {"ab", 3, "ab.png"},
        {"typed.png", 0, "typed.png.bmp"}, // the typed extension does not choose the format
    };
    for (const Case& c : cases) {
        std::string file = Path(c.file);
        TAV_SelectImage(0);
        ASSERT_EQ(TAV_SaveImage(5, 3, c.format, (folder + "\\" + c.name).c_str()), 0) << c.name;
        EXPECT_TRUE(Exists(file)) << file;
    }
    std::string bmp = ReadBytes(Path("typed.png.bmp"));
    ASSERT_GE(bmp.size(), 2u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
}

TEST_F(ImageFiles, RegionWiderThanTheImageSavesBlackColumns)
{
    for (int bits : {32, 8}) {
        SCOPED_TRACE(bits);
        Create(0, 5, 3, bits);
        Fill(0, Busy);
        std::string file = Path(bits == 32 ? "wide32.png" : "wide8.png");
        TAV_SelectImage(0);
        ASSERT_EQ(TAV_SaveImage(8, 4, 3, file.c_str()), 0);
        Create(1, 8, 4, 32);
        Fill(1, Few); // something to be overwritten
        TAV_SelectImage(1);
        ASSERT_EQ(TAV_LoadImage(file.c_str(), 0, 0), 0);
        uint32_t black = bits == 32 ? 0 : ColorOf(TableEntry(Busy, 0)); // colour table entry 0
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x) {
                uint32_t expected = x < 5 && y < 3 ? Shown(0, x, y) : black;
                ASSERT_EQ(Shown(1, x, y), expected) << x << "," << y;
            }
        TAV_DestroyImage(1);
        TAV_DestroyImage(0);
    }
}

TEST_F(ImageFiles, LoadPlacesThePictureAndClipsIt)
{
    Create(0, 30, 4, 32);
    Fill(0, Busy);
    std::string file = Path("wide.png");
    TAV_SelectImage(0);
    ASSERT_EQ(TAV_SaveImage(30, 4, 3, file.c_str()), 0);

    Create(1, 20, 6, 32);
    Fill(1, Few);
    TAV_SelectImage(1);
    ASSERT_EQ(TAV_LoadImage(file.c_str(), -10, 1), 0);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 20; ++x) {
            uint32_t expected = y >= 1 && y < 5 ? Color32(Busy, x + 10, y - 1) : Color32(Few, x, y);
            ASSERT_EQ(Shown(1, x, y), expected) << x << "," << y;
        }
    // Entirely outside: nothing changes, and that is still a load.
    ASSERT_EQ(TAV_LoadImage(file.c_str(), 20, 0), 0);
    ASSERT_EQ(TAV_LoadImage(file.c_str(), -30, 0), 0);
    EXPECT_EQ(Shown(1, 0, 0), Color32(Few, 0, 0));
}

// A 6 x 3 GIF whose colour table has 16 entries, entry i being SixteenColour(i);
// pixel (x, y) is entry (x + y) % 16. (Made by another GIF writer: this
// platform's encoder always writes 256 entries.)
uint32_t SixteenColour(int i) { return (uint32_t)(0x10 * i + 5) << 16 | (uint32_t)(200 - i) << 8 | 77; }
const unsigned char SixteenColourGif[] = {
    0x47, 0x49, 0x46, 0x38, 0x37, 0x61, 0x06, 0x00, 0x03, 0x00, 0x83, 0x00, 0x00, 0x05, 0xc8, 0x4d,
    0x15, 0xc7, 0x4d, 0x25, 0xc6, 0x4d, 0x35, 0xc5, 0x4d, 0x45, 0xc4, 0x4d, 0x55, 0xc3, 0x4d, 0x65,
    0xc2, 0x4d, 0x75, 0xc1, 0x4d, 0x85, 0xc0, 0x4d, 0x95, 0xbf, 0x4d, 0xa5, 0xbe, 0x4d, 0xb5, 0xbd,
    0x4d, 0xc5, 0xbc, 0x4d, 0xd5, 0xbb, 0x4d, 0xe5, 0xba, 0x4d, 0xf5, 0xb9, 0x4d, 0x2c, 0x00, 0x00,
    0x00, 0x00, 0x06, 0x00, 0x03, 0x00, 0x00, 0x08, 0x12, 0x00, 0x01, 0x04, 0x10, 0x30, 0x80, 0x40,
    0x81, 0x81, 0x05, 0x0b, 0x18, 0x20, 0x68, 0xd0, 0xc0, 0x81, 0x80, 0x00, 0x3b,
};

TEST_F(ImageFiles, SixteenColourGifReplacesOnlyTheFirstSixteenEntries)
{
    std::string file = Path("sixteen.gif");
    WriteBytes(file, std::string((const char*)SixteenColourGif, sizeof SixteenColourGif));

    Create(0, 6, 3, 8);
    TAV_SelectImage(0);
    ASSERT_EQ(TAV_LoadImage(file.c_str(), 0, 0), 0);
    std::vector<RGBQUAD> table = Table(0);
    for (int i = 0; i < 256; ++i) {
        uint32_t expected = i < 16 ? SixteenColour(i) : (uint32_t)i * 0x010101u;
        ASSERT_EQ(ColorOf(table[i]), expected) << "entry " << i;
    }
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) ASSERT_EQ(Pixel8(0, x, y), (x + y) % 16) << x << "," << y;
}

// A 32-bit picture with alpha: opaque red on the left half, fully transparent
// on the right, half-transparent blue in the bottom row.
std::string SaveAlphaPng(const std::string& file)
{
    using namespace Gdiplus;
    using namespace Gdiplus::DllExports;
    uint32_t pixels[4 * 3];
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) pixels[y * 4 + x] = y == 2 ? 0x800000FFu : x < 2 ? 0xFFFF0000u : 0x0000FF00u;
    GpBitmap* bitmap = nullptr;
    GdipCreateBitmapFromScan0(4, 3, 16, PixelFormat32bppARGB, (BYTE*)pixels, &bitmap);
    CLSID png = FindEncoder(L"image/png");
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
    GdipSaveImageToFile(bitmap, wide, &png, nullptr);
    GdipDisposeImage(bitmap);
    return file;
}

TEST_F(ImageFiles, TransparentPartsBlendOverTheImage)
{
    std::string file = SaveAlphaPng(Path("alpha.png"));
    for (int bits : {32, 8}) {
        SCOPED_TRACE(bits);
        Create(0, 4, 3, bits);
        if (bits == 8) {
            RGBQUAD table[256];
            for (int i = 0; i < 256; ++i) table[i] = RGBQUAD{(BYTE)i, (BYTE)i, (BYTE)i, 0};
            table[1] = RGBQUAD{0, 0, 255, 0};   // red
            table[2] = RGBQUAD{0, 255, 0, 0};   // green
            table[3] = RGBQUAD{128, 127, 0, 0}; // half blue over green
            TAV_SelectImage(0);
            TAV_SetColorTable(table, 256);
        }
        GdiFlush();
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                if (bits == 8) Pixel8(0, x, y) = 2;
                else Pixel32(0, x, y) = 0x00FF00;
            }
        std::vector<RGBQUAD> before = bits == 8 ? Table(0) : std::vector<RGBQUAD>();
        TAV_SelectImage(0);
        ASSERT_EQ(TAV_LoadImage(file.c_str(), 0, 0), 0);
        EXPECT_EQ(Shown(0, 0, 0), 0xFF0000u);  // opaque: the picture
        EXPECT_EQ(Shown(0, 3, 1), 0x00FF00u);  // transparent: the image as it was
        EXPECT_LE(ChannelError(Shown(0, 1, 2), 0x007F80u), 2); // half blue over green
        if (bits == 8) {
            std::vector<RGBQUAD> after = Table(0);
            for (int i = 0; i < 256; ++i) ASSERT_EQ(ColorOf(after[i]), ColorOf(before[i])) << "no palette, no change";
        }
        TAV_DestroyImage(0);
    }
}

TEST_F(ImageFiles, FilesWithoutAPictureGiveOneAndLeaveTheImage)
{
    std::string png = Path("good.png");
    Create(0, 9, 5, 32);
    Fill(0, Busy);
    TAV_SelectImage(0);
    ASSERT_EQ(TAV_SaveImage(9, 5, 3, png.c_str()), 0);
    std::string bytes = ReadBytes(png);
    ASSERT_GT(bytes.size(), 60u);

    // A BMP header of 60000 x 60000 24-bit pixels with no pixels behind it.
    std::string huge(54, '\0');
    auto put32 = [&](int at, uint32_t v) { for (int i = 0; i < 4; ++i) huge[at + i] = (char)(v >> (8 * i)); };
    huge[0] = 'B'; huge[1] = 'M';
    put32(2, 54); put32(10, 54); put32(14, 40); put32(18, 60000); put32(22, 60000);
    huge[26] = 1; huge[28] = 24;

    struct Case { const char* name; std::string bytes; };
    const Case cases[] = {
        {"empty.png", ""},
        {"cut.png", bytes.substr(0, bytes.size() / 2)},
        {"notes.png", "This is plain text, not a picture.\r\n"},
        {"huge.bmp", huge},
    };
    for (int bits : {32, 8}) {
        Create(1, 9, 5, bits);
        Fill(1, Few);
        std::vector<uint32_t> before;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 9; ++x) before.push_back(Shown(1, x, y));
        std::vector<RGBQUAD> tableBefore = bits == 8 ? Table(1) : std::vector<RGBQUAD>();
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << " into " << bits << " bits");
            std::string file = Path(c.name);
            WriteBytes(file, c.bytes);
            TAV_SelectImage(1);
            EXPECT_EQ(TAV_LoadImage(file.c_str(), 0, 0), 1);
            EXPECT_TRUE(DeleteFileA(file.c_str())) << "the file is still held open";
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 9; ++x) ASSERT_EQ(Shown(1, x, y), before[y * 9 + x]);
            if (bits == 8) {
                std::vector<RGBQUAD> t = Table(1);
                for (int i = 0; i < 256; ++i) ASSERT_EQ(ColorOf(t[i]), ColorOf(tableBefore[i]));
            }
        }
        TAV_SelectImage(1);
        EXPECT_EQ(TAV_LoadImage((folder + "\\missing.png").c_str(), 0, 0), 1);
        TAV_DestroyImage(1);
    }
}

TEST_F(ImageFiles, PathsUpTo259BytesWorkAndLongerOnesFailCleanly)
{
    Create(0, 5, 3, 32);
    Fill(0, Busy);
    // A file name that brings the whole path to exactly 259 bytes (the most a
    // 260-byte buffer holds), ending in the format's extension.
    std::string prefix = folder + "\\";
    ASSERT_LT(prefix.size(), 200u);
    std::string name = std::string(259 - prefix.size() - 4, 'n') + ".png";
    std::string full = prefix + name;
    ASSERT_EQ(full.size(), 259u);
    files.push_back(full);
    TAV_SelectImage(0);
    ASSERT_EQ(TAV_SaveImage(5, 3, 3, full.c_str()), 0);
    EXPECT_TRUE(Exists(full));
    Create(1, 5, 3, 32);
    TAV_SelectImage(1);
    ASSERT_EQ(TAV_LoadImage(full.c_str(), 0, 0), 0);
    EXPECT_EQ(Shown(1, 4, 2), Color32(Busy, 4, 2));

    // A 259-byte name ending otherwise: adding the extension would pass 259 characters.
    std::string other = full.substr(0, full.size() - 4) + ".pnx";
    TAV_SelectImage(0);
    EXPECT_EQ(TAV_SaveImage(5, 3, 3, other.c_str()), 1);
    EXPECT_FALSE(Exists(other.substr(0, 255)));
    // 260 bytes and more: refused, never cut to another name.
    std::string longer = prefix + std::string(260 - prefix.size() - 4, 'm') + ".png";
    ASSERT_EQ(longer.size(), 260u);
    EXPECT_EQ(TAV_SaveImage(5, 3, 3, longer.c_str()), 1);
    EXPECT_EQ(TAV_SaveImage(5, 3, 3, (longer + std::string(5000, 'z')).c_str()), 1);
    TAV_SelectImage(1);
    EXPECT_EQ(TAV_LoadImage(longer.c_str(), 0, 0), 1);
    EXPECT_EQ(TAV_LoadImage((longer + std::string(5000, 'z')).c_str(), 0, 0), 1);
    EXPECT_EQ(TAV_LoadImage("", 0, 0), 1);
}

TEST_F(ImageFiles, RefusalsAndWriteFailures)
{
    ClearImageTable();
    EXPECT_EQ(TAV_SaveImage(5, 3, 0, (folder + "\\x").c_str()), 3);
    EXPECT_EQ(TAV_LoadImage((folder + "\\x.bmp").c_str(), 0, 0), 2);
    Create(0, 5, 3, 32);
    TAV_SelectImage(0);
    EXPECT_EQ(TAV_SaveImage(0, 3, 0, (folder + "\\x").c_str()), 2);
    EXPECT_EQ(TAV_SaveImage(5, -1, 0, (folder + "\\x").c_str()), 2);
    EXPECT_EQ(TAV_SaveImage(5, 3, 5, (folder + "\\x").c_str()), 1);
    EXPECT_EQ(TAV_SaveImage(5, 3, -1, (folder + "\\x").c_str()), 1);
    EXPECT_EQ(TAV_SaveImage(5, 3, 3, (folder + "\\no such folder\\x").c_str()), 1);
    std::string blocker = folder + "\\blocker.png";
    ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
    EXPECT_EQ(TAV_SaveImage(5, 3, 3, blocker.c_str()), 1); // a folder of that name is in the way
    RemoveDirectoryA(blocker.c_str());
    EXPECT_EQ(TAV_SaveImage(100000, 100000, 0, (folder + "\\x").c_str()), 1); // no memory for the region
    EXPECT_FALSE(Exists(folder + "\\x.bmp"));
}

TEST(Encoders, FoundByExactMimeType)
{
    const CLSID none = {};
    for (const SaveFormat& f : SaveFormats) {
        CLSID c = FindEncoder(f.mimeType);
        EXPECT_NE(memcmp(&c, &none, sizeof none), 0) << "no encoder for a save format";
    }
    CLSID upper = FindEncoder(L"IMAGE/PNG");
    CLSID unknown = FindEncoder(L"image/x-unknown");
    EXPECT_EQ(memcmp(&upper, &none, sizeof none), 0);
    EXPECT_EQ(memcmp(&unknown, &none, sizeof none), 0);
}

} // namespace
