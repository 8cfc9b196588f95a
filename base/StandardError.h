#pragma once
// The console launcher's standard error: where its messages and, in debug
// mode, its diagnostic log go, since it has no message boxes.
#include "framework/Text.h"

// Each line of text (split at "\n", a "\r" before it dropped; a last empty
// line dropped) as "<programName>: <line>\r\n", the way console programs
// name themselves in what they report.
Text PrefixLines(const Text& programName, const char* text);

// Writes the bytes to the launcher's standard error as they are, or, when
// that is a console, as the characters they are in the ANSI code page (a
// console shows bytes in its own code page). Nothing happens when the
// launcher has no standard error. Any thread.
void WriteStandardError(const Text& text);

// The launcher's file name without its folder ("" when unknown).
Text LauncherFileName();
