// The image table: 256 numbered image slots, their pixel pointers, their
// display buffers, the current image and its selection history. Touched only
// on the worker thread, except that the GUI thread reads inUse to pick a free
// number for a request. Platform handles are kept as opaque pointers so this
// header needs no windows.h.
#ifndef TAV_IMAGE_TABLE_H
#define TAV_IMAGE_TABLE_H

#include <cstdint>

enum { ImageCount = 256, SelectionHistoryDepth = 8 };

// The numbers of a slot, and the current image number, are `long` rather than
// `int` on purpose: a ColorWord store (unsigned int) may alias an int, so with
// int fields every per-pixel loop had to read the slot again after each pixel
// it wrote. A long cannot be written through a ColorWord, and the compiler
// keeps the slot in registers across the loop. No field holds anything wider
// than an int.
struct ImageSlot {
    long inUse;         // 1 while the image exists
    long bits;          // 32 or 8
    long width;         // pixels, at least 1
    long height;        // pixels, at least 1
    long displayWidth;  // client width on screen (width * zoom / 100)
    long displayHeight; // client height on screen
    long zoom;          // percent, after fitting
    long limitMode;     // 1 bounded by the screen, 0 free
    void* window;       // HWND of class tav_iw
    void* memoryDC;     // HDC holding dib; all platform drawing and display copies use it
    void* windowDC;     // HDC of the window, held for the window's life
    void* dib;          // HBITMAP: the top-down DIB section
    void* previousBitmap; // HBITMAP memoryDC held before dib
    char* name;         // heap copy of the name (system code page)
};

// The averaged picture a half-tone reduction shows: a 32-bit top-down DIB
// section of displayWidth x displayHeight, made on first need, dropped when
// the zoom changes and freed with its slot.
struct DisplayBuffer {
    void* dib;            // HBITMAP, or 0 while there is no buffer
    void* dc;             // HDC (memory context) holding dib
    void* previousBitmap; // HBITMAP dc held before dib
    uint32_t* pixels;     // first ColorWord of dib, rows packed
    int width;            // size the buffer was made for
    int height;
};

extern ImageSlot ImageTable[ImageCount];   // worker thread
extern uint32_t* Pixels32[ImageCount];     // worker: first pixel of each buffer (stale after destroy)
extern uint8_t* Pixels8[ImageCount];       // worker: same pointer, as bytes
extern DisplayBuffer DisplayBuffers[ImageCount]; // worker: half-tone display of each slot
extern long CurrentImage;                  // worker: image the pixel operations act on
extern int SelectionHistory[SelectionHistoryDepth]; // worker: entry 0 most recent

// Row stride in bytes of an 8-bit image (width rounded up to a multiple of 4).
inline int Stride8(int width) { return (width + 3) & ~3; }
// True when `n` names a slot in use (numbers compared as unsigned).
inline bool ImageInUse(int n) { return (unsigned)n < ImageCount && ImageTable[n].inUse; }

// Start-up state: every slot free, image 0 current, history all 0.
void ClearImageTable(void);
// Number of the image in use whose window is `window`, searching upward; -1 if none.
int ImageFromWindow(const void* window);
// ImageFromWindow, then TAV_SelectImage with that number; returns the number.
int SelectImageFromWindow(const void* window);

#endif
