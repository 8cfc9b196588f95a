#pragma once
// The share-mode open of the C runtime, for the native sanitizer builds:
// there is no sharing to ask for here, so it is a plain open.
#include <cstdio>

#define _SH_DENYNO 0x40

inline FILE* _fsopen(const char* name, const char* mode, int) { return std::fopen(name, mode); }
