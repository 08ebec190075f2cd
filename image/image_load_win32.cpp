// Loading picture files through GDI+'s flat interface: the size probe of
// dropped files and drawing a file into the current image. Every GDI+ object
// is created and released within one call.
#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "image/color_match.h"
#include "image/image_file_rules.h"
#include "image/image_io_win32.h"
#include "image/image_table.h"
#include "tavkit.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

// The whole file in a memory stream, so no file handle outlives this call
// whatever the decoder keeps (some decoders hold on to the stream of a file
// they fail to read). 0 when the file cannot be read.
static IStream* ReadFileStream(const wchar_t* path)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER size = {};
    HGLOBAL memory = nullptr;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && (uint64_t)size.QuadPart <= MaxPictureFileBytes)
        memory = GlobalAlloc(GMEM_MOVEABLE, (SIZE_T)size.QuadPart);
    bool complete = false;
    if (memory) {
        void* bytes = GlobalLock(memory);
        DWORD read = 0;
        complete = bytes && ReadFile(file, bytes, (DWORD)size.QuadPart, &read, nullptr) &&
                   read == (DWORD)size.QuadPart;
        if (bytes) GlobalUnlock(memory);
    }
    CloseHandle(file);
    IStream* stream = nullptr;
    if (complete && CreateStreamOnHGlobal(memory, TRUE, &stream) == S_OK) return stream; // owns memory now
    if (memory) GlobalFree(memory);
    return nullptr;
}

// The picture in a file and its size; 0 (and sizes 0) when there is none.
// The stream stays with the picture until both are released together.
static GpImage* LoadPicture(const wchar_t* path, IStream** stream, UINT* width, UINT* height)
{
    *width = *height = 0;
    *stream = ReadFileStream(path);
    if (!*stream) return nullptr;
    GpImage* picture = nullptr;
    if (GdipLoadImageFromStream(*stream, &picture) == Ok && picture) {
        GdipGetImageWidth(picture, width);
        GdipGetImageHeight(picture, height);
        if (*width > 0 && *height > 0) return picture;
        GdipDisposeImage(picture);
    }
    *width = *height = 0;
    (*stream)->Release();
    *stream = nullptr;
    return nullptr;
}

static void ReleasePicture(GpImage* picture, IStream* stream)
{
    GdipDisposeImage(picture);
    stream->Release();
}

void ProbePictureSize(const wchar_t* path, int* width, int* height)
{
    UINT w = 0, h = 0;
    IStream* stream = nullptr;
    GpImage* picture = LoadPicture(path, &stream, &w, &h);
    if (picture) ReleasePicture(picture, stream);
    *width = (int)w;
    *height = (int)h;
}

// Makes the picture's palette (up to 256 entries) the first entries of the
// current 8-bit image's colour table. True when the table changed.
static bool AdoptPalette(GpImage* picture)
{
    INT bytes = 0;
    if (GdipGetImagePaletteSize(picture, &bytes) != Ok || bytes <= 8) return false;
    ColorPalette* palette = (ColorPalette*)malloc((size_t)bytes);
    if (!palette) return false;
    int count = 0;
    RGBQUAD entries[256];
    if (GdipGetImagePalette(picture, palette, bytes) == Ok) {
        count = (bytes - 8) / 4; // entries the record has room for
        if ((int)palette->Count < count) count = (int)palette->Count;
        if (count > 256) count = 256;
        for (int i = 0; i < count; ++i) {
            ARGB c = palette->Entries[i];
            entries[i].rgbBlue = (BYTE)c;
            entries[i].rgbGreen = (BYTE)(c >> 8);
            entries[i].rgbRed = (BYTE)(c >> 16);
            entries[i].rgbReserved = 0;
        }
    }
    free(palette);
    if (count < 1) return false;
    TAV_SetColorTable(entries, count);
    return true;
}

// Draws the picture at its own size in pixels with its top-left corner at
// (x, y) of the current 32-bit image, blending transparent parts over what
// is there.
static bool DrawPicture32(GpImage* picture, int width, int height, int x, int y)
{
    const ImageSlot& s = ImageTable[CurrentImage];
    GpGraphics* graphics = nullptr;
    if (GdipCreateFromHDC((HDC)s.memoryDC, &graphics) != Ok || !graphics) return false;
    GdipSetInterpolationMode(graphics, InterpolationModeNearestNeighbor);
    GdipSetPixelOffsetMode(graphics, PixelOffsetModeHalf);
    bool drawn = GdipDrawImageRectI(graphics, picture, x, y, width, height) == Ok;
    GdipDeleteGraphics(graphics);
    GdiFlush(); // the pixels are read directly from the buffer next
    // The drawing may leave alpha in the top bytes; ColorWords keep them 0.
    if (drawn) ClearTopBytes(Pixels32[CurrentImage], s.width, s.height, x, y, width, height);
    return drawn;
}

// The same for an 8-bit image. The picture is blended over the image's
// colours in a 32-bit copy of the covered area, and each changed pixel then
// takes the nearest colour-table entry (exact colours their own entry; the
// platform's own mapping is not exact everywhere).
static bool DrawPicture8(GpImage* picture, int width, int height, int x, int y)
{
    const ImageSlot& s = ImageTable[CurrentImage];
    int64_t left = x < 0 ? 0 : x, top = y < 0 ? 0 : y;
    int64_t right = (int64_t)x + width < s.width ? (int64_t)x + width : s.width;
    int64_t bottom = (int64_t)y + height < s.height ? (int64_t)y + height : s.height;
    if (right <= left || bottom <= top) return true; // the picture lies outside the image
    GdiFlush();
    int w = (int)(right - left), h = (int)(bottom - top);
    uint8_t table[1024];
    TAV_GetColorTable(table);
    ColorMatcher* matcher = (ColorMatcher*)malloc(sizeof(ColorMatcher));
    uint32_t* area = (uint32_t*)malloc((size_t)w * (size_t)h * 4);
    bool drawn = false;
    if (matcher && area) {
        InitColorMatcher(matcher, table);
        uint8_t* pixels = Pixels8[CurrentImage];
        const int stride = Stride8(s.width);
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                area[(size_t)j * w + i] = matcher->table[pixels[(top + j) * stride + left + i]];
        GpBitmap* surface = nullptr;
        GpGraphics* graphics = nullptr;
        if (GdipCreateBitmapFromScan0(w, h, 4 * w, PixelFormat32bppRGB, (BYTE*)area, &surface) == Ok && surface) {
            if (GdipGetImageGraphicsContext(surface, &graphics) == Ok && graphics) {
                GdipSetInterpolationMode(graphics, InterpolationModeNearestNeighbor);
                GdipSetPixelOffsetMode(graphics, PixelOffsetModeHalf);
                drawn = GdipDrawImageRectI(graphics, picture, (int)(x - left), (int)(y - top), width, height) == Ok;
                GdipDeleteGraphics(graphics);
            }
            GdipDisposeImage(surface);
        }
        for (int j = 0; drawn && j < h; ++j) {
            uint8_t* row = pixels + (top + j) * stride + left;
            for (int i = 0; i < w; ++i) {
                uint32_t c = area[(size_t)j * w + i] & 0xFFFFFFu;
                if (c != matcher->table[row[i]]) row[i] = (uint8_t)MatchColor(matcher, c);
            }
        }
    }
    free(area);
    free(matcher);
    return drawn;
}

int TAV_LoadImage(const char* path, int x, int y)
{
    if (!ImageInUse(CurrentImage)) return 2;
    wchar_t wide[PathChars];
    if (!PathToWide(path, wide)) return 1;
    UINT width = 0, height = 0;
    IStream* stream = nullptr;
    GpImage* picture = LoadPicture(wide, &stream, &width, &height);
    if (!picture) return 1;
    RGBQUAD saved[256];
    bool eightBit = ImageTable[CurrentImage].bits == 8;
    bool tableChanged = eightBit && TAV_GetColorTable(saved) == 0 && AdoptPalette(picture);
    bool drawn = eightBit ? DrawPicture8(picture, (int)width, (int)height, x, y)
                          : DrawPicture32(picture, (int)width, (int)height, x, y);
    ReleasePicture(picture, stream);
    if (drawn) return 0;
    // A picture that decodes but cannot be drawn leaves the image as it was.
    if (tableChanged) TAV_SetColorTable(saved, 256);
    return 1;
}
