// The converter's fixed texts: the panel's captions, its console lines and
// the one Japanese message, which has an English stand-in for systems whose
// code page cannot hold it. Read-only data.
#ifndef STEREO_TEXTS_H
#define STEREO_TEXTS_H

#include "stereo/parameters.h"

// Captions of the 26 panel buttons, numbered row by row from the top left.
extern const char* const PanelCaptions[PanelButtons];

// Printed by TAV_Setup once the panel and the tables are ready.
extern const char* const SetupMessage;
// Title of the open dialog of "load", and its console lines.
extern const char* const LoadDialogTitle;
extern const char* const LoadFailedLine;  // the depth-map file could not be read
extern const char* const LoadedFormat;    // "%s": the path chosen in the dialog

// Texts that differ by system code page.
enum ConverterText {
    TextDragPicture, // TAV_Pause text of a Start without a picture
    ConverterTextCount
};
enum { JapaneseCodePage = 932 };

// The text in the system code page `codePage`: the Shift-JIS original under
// code page 932, the English stand-in under any other.
const char* converter_text(int text, unsigned codePage);

#endif
