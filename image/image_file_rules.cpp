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
