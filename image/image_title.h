// The title of an image window: name, zoom, pixel depth and half-tone mark.
#ifndef TAV_IMAGE_TITLE_H
#define TAV_IMAGE_TITLE_H

enum { ImageTitleBytes = 256 };

// Tells whether a byte of narrow text starts a double-byte character.
typedef bool (*LeadByteTest)(unsigned char byte);

// Writes "name(zoom%)", then "[8bit]" for an 8-bit image and "*" in
// half-tone mode, into `title`. A name too long for the buffer is cut so that
// the rest always shows, and never inside a double-byte character (`isLead`
// may be null for single-byte text).
void FormatImageTitle(const char* name, int zoom, int bits, bool halftone, LeadByteTest isLead,
                      char title[ImageTitleBytes]);

#endif
