// Picture files through GDI+'s flat interface: loading a file into the
// current image, saving a region of it, the encoder lookup and the size probe.
// Every GDI+ object is created and released within one call.
#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "image/color_match.h"
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
    // No best-fit replacements: a path must convert back to itself, or it
    // would name another file.
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path, -1, out, PathChars, nullptr, &lossy);
    wchar_t back[PathChars];
    if (n <= 0 || lossy || !PathToWide(out, back) || wcscmp(back, path) != 0) {
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

enum : uint64_t { MaxPictureFileBytes = (uint64_t)1 << 30 };

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

// ---- Save ---------------------------------------------------------------------------

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
