#pragma once
// Encoding of an in-memory dialog template (a DLGTEMPLATE header with a
// font, followed by DLGITEMTEMPLATE items), as plain functions over a byte
// buffer. Each function returns the size of its piece rounded up to a
// multiple of 4, so that the next piece starts on a 4-byte boundary; it
// writes the piece (zero padding included) only when out is not null, so the
// same call measures and writes. Strings are ANSI, converted to UTF-16.
#include <windows.h>

// The window class of a dialog item: a class name, or, when name is null, an
// ordinal of a predefined class (0x0080 is the button).
struct DialogItemClass {
    const char* name;
    WORD ordinal;
};

// The header; its item count is written as 0 (see SetDialogItemCount). menu
// and windowClass are strings, empty for none and for the standard class.
DWORD WriteDialogHeader(BYTE* out, const char* title, DWORD style, DWORD exStyle, short x, short y,
                        short cx, short cy, WORD pointSize, const char* typeface, const char* menu,
                        const char* windowClass);

// One item, with an empty creation-data field. The style is written as given.
DWORD WriteDialogItem(BYTE* out, const char* text, DWORD style, DWORD exStyle, short x, short y,
                      short cx, short cy, WORD id, const DialogItemClass& windowClass);

void SetDialogItemCount(BYTE* dialogTemplate, WORD count);
