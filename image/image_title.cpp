// Formatting an image window's title (see image_title.h).
#include "image/image_title.h"

#include <cstdio>
#include <cstring>

void FormatImageTitle(const char* name, int zoom, int bits, bool halftone, LeadByteTest isLead,
                      char title[ImageTitleBytes])
{
    char tail[64];
    int tailLength = snprintf(tail, sizeof tail, "(%d%%)%s%s", zoom, bits == 8 ? "[8bit]" : "",
                              halftone ? "*" : "");
    if (tailLength < 0) tailLength = 0;
    const int room = ImageTitleBytes - 1 - tailLength;
    int length = 0;
    if (name) {
        while (name[length] != '\0') {
            const int step = isLead && isLead((unsigned char)name[length]) && name[length + 1] != '\0' ? 2 : 1;
            if (length + step > room) break;
            length += step;
        }
    }
    if (length > 0) memcpy(title, name, (size_t)length);
    memcpy(title + length, tail, (size_t)tailLength + 1);
}
