#pragma once
// The bitness of a Windows executable, read from its PE header rather than
// by starting it: a runtime is judged without running it.
#include "framework/CString.h"

// 32 or 64 for an x86, x64 or ARM64 executable; 0 when the file is missing
// or no PE image this reader knows.
int ExecutableBits(const CString& path);
