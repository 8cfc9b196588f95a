#pragma once
// Readers of the launcher properties. Every call loads the string again from
// the launcher's own module: nothing is cached.
#include "framework/CString.h"

// LoadStringA into buffer; returns the count loaded (at most capacity - 1).
// The buffer always holds a valid, possibly empty, string.
int LoadResourceText(unsigned id, char* buffer, int capacity);
// Loads a string of any length into target; false when absent or empty.
bool LoadStringResource(CString& target, unsigned id);
bool ReadBoolProperty(unsigned id);
int ReadIntProperty(unsigned id);
CString ReadStringProperty(unsigned id);
