#pragma once
// Readers of the launcher properties. Every call loads the string again from
// the launcher's own module: nothing is cached.
#include <windows.h>

#include "framework/CString.h"

// The module whose string table holds the properties: the running
// launcher's own unless another is named (a launcher file loaded as data,
// whose search settings the companion tool applies). nullptr: the own.
void SetPropertyModule(HMODULE module);

// Loads a string of any length and any characters into target, converted to
// the process's ANSI code page and up to its first NUL; false (target empty)
// when absent or empty.
bool LoadStringResource(CString& target, unsigned id);
bool ReadBoolProperty(unsigned id);
int ReadIntProperty(unsigned id);
CString ReadStringProperty(unsigned id);
