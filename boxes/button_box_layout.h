// The button box's state and its window-free rules: argument checks, the
// button grid, the cell under the cursor, the relayout on resize, and what a
// command or a key in the box means. Everything here belongs to the worker
// thread, which creates the box, pumps its messages and runs the user program
// that consumes the clicks. Window handles are opaque pointers so this header
// needs no windows.h.
#ifndef TAV_BUTTON_BOX_LAYOUT_H
#define TAV_BUTTON_BOX_LAYOUT_H

enum {
    MaxButtons = 256,         // button count limit (NX x NY)
    ButtonGap = 4,            // pixels between buttons and of the left and top margins
    StartButtonWidth = 98,    // button size of the first box
    StartButtonHeight = 26,
    ButtonIdBase = 3000,      // control id of button i is ButtonIdBase + i
    CMD_BB_DESTROY = 1050,    // popup item "&Destroy\tCtrl+Q"
    CMD_BB_RENAME = 1057,     // popup item "Rename"
    ButtonCaptionBytes = 512, // caption buffers of the rename dialog
};

// ---- Button box state (worker thread) -------------------------------------------
// The box window itself is ButtonBoxWindow (shell_win32.h), 0 while no box is open.
extern int NX;                          // button columns of the open (or last) box
extern int NY;                          // button rows
extern int ButtonCount;                 // NX x NY, at most MaxButtons
extern int ButtonWidth;                 // pixels; changed by resizing, kept for the next box
extern int ButtonHeight;
extern void* ButtonWindows[MaxButtons]; // HWND of button i; 0 when not created
extern int RenameTarget;                // button chosen by the last right click in the box
extern int ButtonBoxSerial;             // counts opened boxes: tells a reopened box apart
// ButtonClicks (clicks not yet consumed) is public: see tavkit.h.

// ---- Rules ---------------------------------------------------------------------------
// True when a box of nx columns and ny rows may open: both positive, at most 256 buttons.
bool ButtonBoxShapeValid(int nx, int ny);
// Client width (or height) of a box of `cells` columns (rows) of `buttonLength` pixels.
int ButtonBoxClientLength(int cells, int buttonLength);
// Top-left corner, in client coordinates, of button `index` in a grid of nx columns.
void ButtonOrigin(int index, int nx, int buttonWidth, int buttonHeight, int* x, int* y);
// Index of the cell under client point (x, y), each taken as an unsigned 16-bit
// value. Every cell includes the gap left of and above its button; column and
// row are clamped into the grid, so the result is always a valid index.
int ButtonCellAt(unsigned x, unsigned y, int nx, int ny, int buttonWidth, int buttonHeight);
// Button width (height) that fills a client width (height) of `clientLength`
// with `cells` columns (rows); at least 1 pixel is shared out, so a client too
// small for the gaps gives 1 / cells.
int FitButtonLength(int clientLength, int cells);
// Button index of a command (control id, notification code), or -1 when the
// command is not a click on one of `count` buttons.
int ClickedButton(int id, int notification, int count);

// What a key-down in the box does.
enum ButtonBoxKeyAction {
    BBKEY_IGNORE,      // nothing
    BBKEY_TO_MAIN,     // post the same key-down to the main window (X, Esc, S, C)
    BBKEY_COUNT_DIGIT, // count a click of the button the digit names
    BBKEY_CLOSE,       // close the box (Ctrl+Q)
};
// Classifies virtual key `key` with the Control key up or down; for a digit of
// the main keyboard or the keypad, `digit` receives 0..9.
ButtonBoxKeyAction ClassifyButtonBoxKey(int key, bool ctrl, int* digit);

// Forgets the open box's windows (the counters keep their values).
void ForgetButtonBoxWindows(void);

#endif
