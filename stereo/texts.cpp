// The converter's fixed texts (see texts.h).
#include "stereo/texts.h"

const char* const PanelCaptions[PanelButtons] = {
    "--",         "++",
    "V map",      "S map",
    "anaglyph",   "",
    "I-lace1",    "I-lace2",
    "S mod",      "S mod+V",
    "Smod -",     "Smod +",
    "Scorrect -", "Scorrect +",
    "ScorreSub-", "ScorreSub+",
    "gamma -",    "gamma +",
    "load",       "break",
    "view_num-",  "view_num+",
    "M_shft-",    "M_shft+",
    "multi_view", "",
};

const char* const SetupMessage = "Drop picture\n to TAVKIT window\n and click \"Start\".\n";
const char* const LoadDialogTitle = "Select depth_map file";
const char* const LoadFailedLine = "cannnot load\n";
const char* const LoadedFormat = "load: %s\n";

namespace {

struct CodePageText {
    const char* shiftJis; // the text in code page 932
    const char* english;  // its stand-in for every other code page
};

const CodePageText CodePageTexts[ConverterTextCount] = {
    // "画像をドラッグして下さい": please drag a picture (onto the window)
    {"\x89\xE6\x91\x9C\x82\xF0\x83\x68\x83\x89\x83\x62\x83\x4F\x82\xB5\x82\xC4\x89\xBA\x82\xB3\x82\xA2",
     "Please drag a picture onto the TAVKIT window"},
};

} // namespace

const char* converter_text(int text, unsigned codePage)
{
    if ((unsigned)text >= ConverterTextCount) return "";
    const CodePageText& t = CodePageTexts[text];
    return codePage == JapaneseCodePage ? t.shiftJis : t.english;
}
