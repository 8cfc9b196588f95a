#pragma once
// The code pages of text that comes from outside the launcher (a child's
// console output, files users and vendors wrote), and converting it for the
// launcher's own strings.
#include <windows.h>

#include "framework/Text.h"

// True when this process's OEM code page is UTF-8 (its manifest asks for the
// UTF-8 code page and the system honours it): a child without that manifest
// still writes in the system's OEM code page, which then differs from ours.
bool OwnCodePagesAreUtf8();
// The system locale's OEM code page, whatever this process's manifest says.
UINT SystemOemCodePage();
// The system locale's ANSI code page, whatever this process's manifest says:
// the one Notepad and older tools save files in.
UINT SystemAnsiCodePage();
// True when text (length bytes) is well-formed UTF-8.
bool IsValidUtf8(const char* text, int length);
// text (length bytes) from one code page to another; the result may be
// longer than the input (one OEM byte becomes up to three UTF-8 bytes).
Text ConvertCodePage(const char* text, int length, UINT from, UINT to);
