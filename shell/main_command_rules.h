// Window-free rules of the main window's commands: the popup menu's greying,
// the numbers typed into the console dialogs and the titles of
// new image windows.
#ifndef TAV_MAIN_COMMAND_RULES_H
#define TAV_MAIN_COMMAND_RULES_H

// State of a greyable popup item: 3 (greyed) while the user program runs or a
// line input waits, 0 (enabled) otherwise.
int GreyableItemState(int userProgramRunning, int inputOwner);

// The number at the start of a typed line, read as a decimal integer: leading
// blanks and one sign are allowed, reading stops at the first other
// character, a line without digits gives 0; values beyond int are clamped.
int ParseLineNumber(const char* line);

// Title of a new image window: "%03d" with the number, then " " and the name
// when a name is given; cut to `size` bytes, always terminated. A buffer of
// ImageTitleBytes holds any file name of a 260-byte path uncut.
enum { ImageTitleBytes = 4 + 260 + 1 };
void FormatImageTitle(char* out, int size, int number, const char* name);

#endif
