// The main window's console dialogs: they ask for sizes in text window 0 and
// then have the worker create an image window, the input box or the button
// box. They run on the GUI thread inside the command handler; each answer is
// read as a decimal number and Exit during a question ends the dialog.
#include <windows.h>

#include "image/image_table.h"
#include "shell/main_command_rules.h"
#include "shell/shell_win32.h"

enum { AnswerBytes = 520 };

// Prints `prompt` and reads one line as a number; false once Exit has begun.
static bool AskNumber(const char* prompt, int* value)
{
    char line[AnswerBytes] = "";
    TAV_Printf("%s", prompt);
    TAV_InputLine(line);
    if (ExitState.load() != 0) return false;
    *value = ParseLineNumber(line);
    return true;
}

static int FirstFreeImageNumber(void)
{
    for (int n = 0; n < ImageCount; ++n)
        if (!ImageTable[n].inUse) return n;
    return -1;
}

void OnMainImageWindowDialog(void)
{
    RequestOpenTextWindow(0);
    TAV_Printf("Creating ImageWindow...\n");
    int width = 0, height = 0, bits = 0;
    if (!AskNumber(" Width=", &width) || !AskNumber("Height=", &height) || !AskNumber("Bit[32 or 8]=", &bits))
        return;
    if (bits != 32 && bits != 8) return;
    int number = FirstFreeImageNumber();
    if (number < 0) return;
    char title[ImageTitleBytes];
    FormatImageTitle(title, sizeof title, number, nullptr);
    RequestCreateImage(number, title, width, height, bits); // the new image stays current
}

void OnMainInputBoxDialog(void)
{
    RequestOpenTextWindow(0);
    TAV_Printf("Creating InpuxBox...\n");
    int items = 0;
    if (!AskNumber("How many items? >", &items)) return;
    RequestOpenInputBox(items);
}

void OnMainButtonBoxDialog(void)
{
    RequestOpenTextWindow(0);
    TAV_Printf("Creating ButtonBox...\n");
    int columns = 0, rows = 0;
    if (!AskNumber("Number[X]=>", &columns) || !AskNumber("Number[Y]=>", &rows)) return;
    RequestOpenButtonBox(columns, rows);
}
