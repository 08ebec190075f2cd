// Picture files through GDI+'s flat interface: loading a file into the
// current image, saving a region of it, the encoder lookup and the size probe.
// Every GDI+ object is created and released within one call.
#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "image/image_file_rules.h"
#include "image/image_io_win32.h"
#include "image/image_table.h"
#include "image/palette_quantize.h"
#include "tavkit.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

// ---- Paths and encoders -----------------------------------------------------------

bool PathToWide(const char* path, wchar_t* out)
{
    if (!path) return false;
    size_t len = strnlen(path, PathChars);
    if (len == 0 || len >= PathChars) return false;
    // Each byte gives at most one UTF-16 unit, so PathChars units always suffice.
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, (int)len + 1, out, PathChars) > 0;
}

bool PathToNarrow(const wchar_t* path, char* out)
{
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(CP_ACP, 0, path, -1, out, PathChars, nullptr, &lossy);
    if (n <= 0 || lossy) {
        out[0] = 0;
        return false;
    }
    return true;
}

CLSID FindEncoder(const wchar_t* mimeType)
{
    CLSID found = {};
    UINT count = 0, bytes = 0;
    if (GdipGetImageEncodersSize(&count, &bytes) != Ok || count == 0 || bytes == 0) return found;
    ImageCodecInfo* codecs = (ImageCodecInfo*)malloc(bytes);
    if (!codecs) return found;
    if (GdipGetImageEncoders(count, bytes, codecs) == Ok) {
        for (UINT i = 0; i < count; ++i) {
            if (codecs[i].MimeType && wcscmp(codecs[i].MimeType, mimeType) == 0) {
                found = codecs[i].Clsid;
                break;
            }
        }
    }
    free(codecs);
    return found;
}

static GpImage* LoadPicture(const wchar_t* path, UINT* width, UINT* height)
{
    *width = *height = 0;
    GpImage* picture = nullptr;
    if (GdipLoadImageFromFile(path, &picture) != Ok) return nullptr;
    if (!picture) return nullptr;
    GdipGetImageWidth(picture, width);
    GdipGetImageHeight(picture, height);
    if (*width == 0 || *height == 0) {
        GdipDisposeImage(picture);
        *width = *height = 0;
        return nullptr;
    }
    return picture;
}

void ProbePictureSize(const wchar_t* path, int* width, int* height)
{
    UINT w = 0, h = 0;
    GpImage* picture = LoadPicture(path, &w, &h);
    if (picture) GdipDisposeImage(picture);
    *width = (int)w;
    *height = (int)h;
}

// ---- Load ---------------------------------------------------------------------------

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
// (x, y) of the current image, blending transparent parts over what is there.
static bool DrawPicture(GpImage* picture, int width, int height, int x, int y)
{
    HDC dc = (HDC)ImageTable[CurrentImage].memoryDC;
    GpGraphics* graphics = nullptr;
    if (GdipCreateFromHDC(dc, &graphics) != Ok || !graphics) return false;
    GdipSetInterpolationMode(graphics, InterpolationModeNearestNeighbor);
    GdipSetPixelOffsetMode(graphics, PixelOffsetModeHalf);
    bool drawn = GdipDrawImageRectI(graphics, picture, x, y, width, height) == Ok;
    GdipDeleteGraphics(graphics);
    GdiFlush(); // the pixels are read directly from the buffer next
    return drawn;
}

int TAV_LoadImage(const char* path, int x, int y)
{
    if (!ImageInUse(CurrentImage)) return 2;
    wchar_t wide[PathChars];
    if (!PathToWide(path, wide)) return 1;
    UINT width = 0, height = 0;
    GpImage* picture = LoadPicture(wide, &width, &height);
    if (!picture) return 1;
    RGBQUAD saved[256];
    bool eightBit = ImageTable[CurrentImage].bits == 8;
    bool tableChanged = eightBit && TAV_GetColorTable(saved) == 0 && AdoptPalette(picture);
    bool drawn = DrawPicture(picture, (int)width, (int)height, x, y);
    GdipDisposeImage(picture);
    if (drawn) return 0;
    // A picture that decodes but cannot be drawn leaves the image as it was.
    if (tableChanged) TAV_SetColorTable(saved, 256);
    return 1;
}

// ---- Save ---------------------------------------------------------------------------

// The bitmap handed to the encoder and the memory it draws on; all released
// together once the file is written.
struct EncodedPicture {
    GpBitmap* bitmap;
    void* info;   // BITMAPINFO of an indexed picture
    void* rows;   // its pixel rows
};

static void ReleasePicture(EncodedPicture* p)
{
    if (p->bitmap) GdipDisposeImage(p->bitmap);
    free(p->info);
    free(p->rows);
    *p = EncodedPicture{};
}

// Packed w x h block of the current image (pixels beyond it 0); 0 when the
// block is too large for memory.
static void* ReadBlock(int width, int height, int bytesPerPixel)
{
    uint64_t bytes = (uint64_t)width * (uint64_t)height * (uint64_t)bytesPerPixel;
    if (bytes > (uint64_t)INT32_MAX) return nullptr;
    void* block = malloc((size_t)bytes);
    if (!block) return nullptr;
    GdiFlush();
    TAV_ReadImageBlock(block, 0, 0, width, height);
    return block;
}

// An 8-bit indexed top-down picture of packed `indexes` with a 256-entry table.
static bool MakeIndexedPicture(const uint8_t* indexes, const RGBQUAD table[256], int width, int height,
                               EncodedPicture* p)
{
    struct Info { BITMAPINFOHEADER header; RGBQUAD colors[256]; };
    int stride = Stride8(width);
    p->info = calloc(1, sizeof(Info));
    p->rows = calloc((size_t)stride, (size_t)height);
    if (!p->info || !p->rows) return false;
    Info* info = (Info*)p->info;
    info->header.biSize = sizeof(BITMAPINFOHEADER);
    info->header.biWidth = width;
    info->header.biHeight = -height;
    info->header.biPlanes = 1;
    info->header.biBitCount = 8;
    info->header.biCompression = BI_RGB;
    info->header.biXPelsPerMeter = 2834;
    info->header.biYPelsPerMeter = 2834;
    memcpy(info->colors, table, sizeof info->colors);
    for (int j = 0; j < height; ++j)
        memcpy((uint8_t*)p->rows + (size_t)j * stride, indexes + (size_t)j * width, (size_t)width);
    return GdipCreateBitmapFromGdiDib((BITMAPINFO*)info, p->rows, &p->bitmap) == Ok && p->bitmap;
}

// A 32-bit image as 24-bit colour.
static bool MakeColorPicture(const uint32_t* pixels, int width, int height, EncodedPicture* p)
{
    GpBitmap* wrapper = nullptr;
    if (GdipCreateBitmapFromScan0(width, height, 4 * width, PixelFormat32bppRGB, (BYTE*)pixels, &wrapper) != Ok)
        return false;
    bool ok = GdipCloneBitmapAreaI(0, 0, width, height, PixelFormat24bppRGB, wrapper, &p->bitmap) == Ok;
    GdipDisposeImage(wrapper);
    return ok && p->bitmap;
}

// A 32-bit image as indexed colour, for formats that hold nothing else. The
// palette is exact when the region has at most 256 colours.
static bool MakePalettePicture(const uint32_t* pixels, int width, int height, EncodedPicture* p)
{
    uint8_t* indexes = (uint8_t*)malloc((size_t)width * (size_t)height);
    if (!indexes) return false;
    uint32_t palette[PaletteEntries] = {};
    QuantizeToPalette(pixels, (int64_t)width * height, palette, indexes);
    RGBQUAD table[256];
    for (int i = 0; i < 256; ++i) {
        table[i].rgbRed = (BYTE)(palette[i] >> 16);
        table[i].rgbGreen = (BYTE)(palette[i] >> 8);
        table[i].rgbBlue = (BYTE)palette[i];
        table[i].rgbReserved = 0;
    }
    bool ok = MakeIndexedPicture(indexes, table, width, height, p);
    free(indexes);
    return ok;
}

enum { FormatGif = 2, FormatJpeg = 1 };

// The JPEG encoder's quality parameter.
static const GUID QualityParameter = {0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};

// The region (0, 0, w, h) of the current image as the picture to encode.
static bool BuildPicture(int width, int height, int format, EncodedPicture* p)
{
    if (width > INT32_MAX / 4) return false; // the 32-bit row stride must fit
    bool eightBit = ImageTable[CurrentImage].bits == 8;
    void* block = ReadBlock(width, height, eightBit ? 1 : 4);
    if (!block) return false;
    bool ok;
    if (eightBit) {
        RGBQUAD table[256];
        ok = TAV_GetColorTable(table) == 0 && MakeIndexedPicture((uint8_t*)block, table, width, height, p);
    } else if (format == FormatGif) {
        ok = MakePalettePicture((uint32_t*)block, width, height, p);
    } else {
        ok = MakeColorPicture((uint32_t*)block, width, height, p);
    }
    free(block);
    return ok;
}

int TAV_SaveImage(int width, int height, int format, const char* path)
{
    if (!ImageInUse(CurrentImage)) return 3;
    if (width < 1 || height < 1) return 2;
    if ((unsigned)format >= SaveFormatCount) return 1;
    wchar_t wide[PathChars];
    if (!PathToWide(path, wide) || !EnsureExtension(wide, SaveFormats[format].extension)) return 1;
    CLSID encoder = FindEncoder(SaveFormats[format].mimeType);
    const CLSID none = {};
    if (memcmp(&encoder, &none, sizeof none) == 0) return 1;

    EncodedPicture picture = {};
    if (!BuildPicture(width, height, format, &picture)) {
        ReleasePicture(&picture);
        return 1;
    }
    ULONG quality = JpegQuality;
    EncoderParameters parameters = {};
    parameters.Count = 1;
    parameters.Parameter[0].Guid = QualityParameter;
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Type = EncoderParameterValueTypeLong;
    parameters.Parameter[0].Value = &quality;
    Status status = GdipSaveImageToFile(picture.bitmap, wide, &encoder,
                                        format == FormatJpeg ? &parameters : nullptr);
    ReleasePicture(&picture);
    return status == Ok ? 0 : 1;
}
