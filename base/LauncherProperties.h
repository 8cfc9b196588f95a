#pragma once
// Readers of the launcher properties. Every call loads the string again from
// the launcher's own module: nothing is cached.
#include "framework/CString.h"

// Loads a string of any length and any characters into target, converted to
// the process's ANSI code page and up to its first NUL; false (target empty)
// when absent or empty.
bool LoadStringResource(CString& target, unsigned id);
bool ReadBoolProperty(unsigned id);
int ReadIntProperty(unsigned id);
CString ReadStringProperty(unsigned id);
