// Window-free rules of image file input and output (see image_file_rules.h).
#include "image/image_file_rules.h"

#include <cwchar>

const SaveFormat SaveFormats[SaveFormatCount] = {
    {L".bmp", L"image/bmp"},
    {L".jpg", L"image/jpeg"},
    {L".gif", L"image/gif"},
    {L".png", L"image/png"},
    {L".tif", L"image/tiff"},
};

const FileFilter FileFilters[OpenFilterCount] = {
    {L"All Files (*.*)", L"*.*"},
    {L"BMP (*.BMP;*.RLE;*.DIB)", L"*.BMP;*.RLE;*.DIB"},
    {L"JPEG (*.JPG;*.JPEG;*.JPE)", L"*.JPG;*.JPEG;*.JPE"},
    {L"CompuServe GIF (*.GIF)", L"*.GIF"},
    {L"PNG (*.PNG)", L"*.PNG"},
    {L"TIFF (*.TIF;*.TIFF)", L"*.TIF;*.TIFF"},
    {L"WMF (*.WMF)", L"*.WMF"},
    {L"EMF (*.EMF)", L"*.EMF"},
    {L"ICO (*.ICO)", L"*.ICO"},
};

int SaveFilterToFormat(int filterIndex)
{
    static const int formats[SaveFilterCount + 1] = {-1, 0, 0, 1, 2, 3, 4};
    if (filterIndex < 1 || filterIndex > SaveFilterCount) return -1;
    return formats[filterIndex];
}

bool BuildFilterList(int count, wchar_t* out, int outChars)
{
    int at = 0;
    for (int i = 0; i < count && i < OpenFilterCount; ++i) {
        const wchar_t* parts[2] = {FileFilters[i].description, FileFilters[i].pattern};
        for (const wchar_t* part : parts) {
            int len = (int)wcslen(part);
            if (at + len + 2 > outChars) return false; // the part, its NUL and the final NUL
            wmemcpy(out + at, part, (size_t)len);
            at += len;
            out[at++] = 0;
        }
    }
    if (at + 1 > outChars) return false;
    out[at] = 0;
    return true;
}

static wchar_t LowerAscii(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? (wchar_t)(c - L'A' + L'a') : c;
}

bool EnsureExtension(wchar_t* path, const wchar_t* extension)
{
    size_t len = wcsnlen(path, PathChars);
    size_t extLen = wcslen(extension);
    if (len >= PathChars) return false; // not terminated within its buffer
    if (len >= 4) {
        wchar_t tail[5];
        for (int i = 0; i < 4; ++i) tail[i] = LowerAscii(path[len - 4 + i]);
        tail[4] = 0;
        if (wcsstr(tail, extension)) return true;
    }
    if (len + extLen > PathChars - 1) return false;
    wmemcpy(path + len, extension, extLen + 1);
    return true;
}

void ClearTopBytes(uint32_t* pixels, int width, int height, int x, int y, int w, int h)
{
    int64_t left = x < 0 ? 0 : x, top = y < 0 ? 0 : y;
    int64_t right = (int64_t)x + w, bottom = (int64_t)y + h;
    if (right > width) right = width;
    if (bottom > height) bottom = height;
    for (int64_t j = top; j < bottom; ++j)
        for (int64_t i = left; i < right; ++i) pixels[j * width + i] &= 0xFFFFFFu;
}

bool FixBmpSizeField(uint8_t header[6], uint64_t fileSize)
{
    if (header[0] != 'B' || header[1] != 'M' || fileSize > 0xFFFFFFFFu) return false;
    uint32_t field = (uint32_t)header[2] | (uint32_t)header[3] << 8 | (uint32_t)header[4] << 16 |
                     (uint32_t)header[5] << 24;
    if (field == fileSize) return false;
    for (int i = 0; i < 4; ++i) header[2 + i] = (uint8_t)(fileSize >> (8 * i));
    return true;
}

// Reads an unsigned value of `bytes` bytes in the file's byte order.
static uint32_t TiffValue(const uint8_t* p, int bytes, bool bigEndian)
{
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= (uint32_t)p[bigEndian ? bytes - 1 - i : i] << (8 * i);
    return v;
}

bool FixTiffColorMap(uint8_t* file, size_t size)
{
    if (size < 8) return false;
    bool bigEndian = file[0] == 'M' && file[1] == 'M';
    if (!bigEndian && !(file[0] == 'I' && file[1] == 'I')) return false;
    if (TiffValue(file + 2, 2, bigEndian) != 42) return false;
    uint64_t ifd = TiffValue(file + 4, 4, bigEndian);
    if (ifd + 2 > size) return false;
    uint32_t entries = TiffValue(file + ifd, 2, bigEndian);
    if (ifd + 2 + 12ull * entries > size) return false;
    for (uint32_t e = 0; e < entries; ++e) {
        const uint8_t* entry = file + ifd + 2 + 12 * e;
        enum { ColorMapTag = 320, ShortType = 3 };
        if (TiffValue(entry, 2, bigEndian) != ColorMapTag) continue;
        uint32_t count = TiffValue(entry + 4, 4, bigEndian);
        if (TiffValue(entry + 2, 2, bigEndian) != ShortType || count < 6 || count % 3 != 0) return false;
        uint64_t at = TiffValue(entry + 8, 4, bigEndian);
        if (at + 2ull * count > size) return false;
        uint8_t* map = file + at;
        bool shifted = false;
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t v = TiffValue(map + 2 * i, 2, bigEndian);
            if (v & 0xFF) return false; // not the v << 8 form
            if (v) shifted = true;
        }
        if (!shifted) return false;
        for (uint32_t i = 0; i < count; ++i) {
            uint8_t high = map[2 * i + (bigEndian ? 0 : 1)];
            map[2 * i] = map[2 * i + 1] = high; // v * 257: both bytes v
        }
        return true;
    }
    return false;
}
