// Window-free rules of image file input and output: the save formats, the
// dialog filter lists, the filter-to-format map, the extension rule and the
// top bytes of drawn pixels.
#ifndef TAV_IMAGE_FILE_RULES_H
#define TAV_IMAGE_FILE_RULES_H

#include <cstdint>

enum {
    SaveFormatCount = 5,   // BMP, JPEG, GIF, PNG, TIFF
    PathChars = 260,       // paths, narrow (bytes) and UTF-16 (units), terminator included
    JpegQuality = 100,     // passed to the JPEG encoder
    OpenFilterCount = 9,   // open dialog filters, indexes 1..9
    SaveFilterCount = 6,   // save dialog filters, indexes 1..6
};

struct SaveFormat {
    const wchar_t* extension; // default extension, with its dot
    const wchar_t* mimeType;  // MIME type of the encoder
};
extern const SaveFormat SaveFormats[SaveFormatCount]; // by format index 0..4

// Largest picture file read into memory, and largest written file mended.
const uint64_t MaxPictureFileBytes = (uint64_t)1 << 30;

struct FileFilter {
    const wchar_t* description;
    const wchar_t* pattern;
};
extern const FileFilter FileFilters[OpenFilterCount]; // filter index i is entry i - 1

// Format index that the save dialog's filter index stands for; -1 saves nothing.
int SaveFilterToFormat(int filterIndex);

// Writes the double-NUL list "description\0pattern\0...\0\0" of filters
// 1..count into `out`; false when it does not fit in `outChars`.
bool BuildFilterList(int count, wchar_t* out, int outChars);

// Appends `extension` to `path` unless the last four characters of the path,
// in lower case, already contain it. `path` holds PathChars units. Returns
// false, leaving the path unchanged, when the result would not fit.
bool EnsureExtension(wchar_t* path, const wchar_t* extension);

// Sets the top byte of every ColorWord to 0 in the part of the rectangle
// (x, y, w, h) that lies inside a width x height image of packed rows: a
// picture drawn by the platform may leave alpha there.
void ClearTopBytes(uint32_t* pixels, int width, int height, int x, int y, int w, int h);

#endif
