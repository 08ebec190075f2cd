// Saving a region of the current image through GDI+'s flat interface, in
// the five formats, and the encoder lookup. Every GDI+ object is created and
// released within one call.
#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "image/file_mending.h"
#include "image/image_file_rules.h"
#include "image/image_io_win32.h"
#include "image/image_table.h"
#include "image/palette_quantize.h"
#include "tavkit.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

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

// The bitmap handed to the encoder and the memory it draws on; all released
// together once the file is written.
struct EncodedPicture {
    GpBitmap* bitmap;
    void* info;   // BITMAPINFO of an indexed picture
    void* rows;   // its pixel rows
};

static void ReleaseEncoded(EncodedPicture* p)
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

enum { FormatBmp = 0, FormatJpeg = 1, FormatGif = 2, FormatTiff = 4 };

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

// Mends what an encoder may get wrong in the colour table of an indexed
// file it wrote: a BMP file-size field without the table, a TIFF colour map
// short of full range. The file is rewritten only when something changed.
static void RepairIndexedFile(const wchar_t* path, int format)
{
    HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER size = {};
    uint8_t* bytes = nullptr;
    if (GetFileSizeEx(file, &size) && size.QuadPart >= 8 && (uint64_t)size.QuadPart <= MaxPictureFileBytes)
        bytes = (uint8_t*)malloc((size_t)size.QuadPart);
    DWORD done = 0;
    if (bytes && ReadFile(file, bytes, (DWORD)size.QuadPart, &done, nullptr) && done == (DWORD)size.QuadPart) {
        bool changed = format == FormatBmp ? FixBmpSizeField(bytes, (uint64_t)size.QuadPart)
                                           : FixTiffColorMap(bytes, (size_t)size.QuadPart);
        if (changed && SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0)
            WriteFile(file, bytes, (DWORD)size.QuadPart, &done, nullptr);
    }
    free(bytes);
    CloseHandle(file);
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

    bool eightBit = ImageTable[CurrentImage].bits == 8;
    EncodedPicture picture = {};
    if (!BuildPicture(width, height, format, &picture)) {
        ReleaseEncoded(&picture);
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
    ReleaseEncoded(&picture);
    if (status != Ok) return 1;
    if (eightBit && (format == FormatBmp || format == FormatTiff)) RepairIndexedFile(wide, format);
    return 0;
}
