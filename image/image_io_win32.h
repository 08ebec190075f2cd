// Window-system side of image files and the clipboard picture: encoder
// lookup, path conversion, the size probe of dropped files, the remembered
// state of the file dialogs, and fetching and pasting clipboard bitmaps.
#ifndef TAV_IMAGE_IO_WIN32_H
#define TAV_IMAGE_IO_WIN32_H

#include <windows.h>

// The class identifier of the first installed GDI+ encoder whose MIME type is
// exactly `mimeType`; all zero when there is none.
CLSID FindEncoder(const wchar_t* mimeType);

// Converts a narrow path (system code page) into `out` of PathChars units.
// False for an empty path, a path of PathChars bytes or more (it would name
// another file once cut) and text the code page cannot decode.
bool PathToWide(const char* path, wchar_t* out);

// Converts a UTF-16 path into `out` of PathChars bytes; false (out empty) when
// it does not fit or holds characters the system code page cannot represent.
bool PathToNarrow(const wchar_t* path, char* out);

// Width and height of the picture in a file as GDI+ reads it; both 0 when the
// file gives no picture. The picture is released again.
void ProbePictureSize(const wchar_t* path, int* width, int* height);

// Remembered by the dialogs for the whole run (worker thread; start-up sets
// the folders). The folders themselves are OpenDirectory and SaveDirectory.
extern int OpenFilterIndex; // filter in use at the last confirmed open dialog (1..9)
extern int SaveFilterIndex; // filter in use at the last confirmed save dialog (1..6)

// The clipboard's picture as a bitmap owned by the caller (CF_DIB preferred
// to CF_BITMAP), or 0. For a CF_DIB picture of 8 bits or fewer its colour
// table goes to `colors` and its entry count to `count` (otherwise 0). A
// CF_DIB block whose fields disagree with its real size is no picture.
HBITMAP FetchClipboardBitmap(RGBQUAD colors[256], int* count);

// Copies `bitmap` to (0, 0) of the current image and deletes the bitmap.
void PasteBitmapToCurrentImage(HBITMAP bitmap);

#endif
