#pragma once
// The process's environment variables, for the texts users may write
// %NAME% into.
#include "framework/CString.h"

// text with each %NAME% of a defined variable replaced by its value, by the
// system's own rules (an undefined %NAME% stays as written).
CString ExpandEnvironmentText(const char* text);
// The variable's value; empty when it is not defined.
CString GetEnvironmentText(const char* name);
