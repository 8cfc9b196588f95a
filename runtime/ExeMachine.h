#pragma once
// The bitness of a Windows executable, read from its PE header rather than
// by starting it: a runtime is judged without running it.
#include "framework/CString.h"

// 32 or 64 for an x86, x64 or ARM64 executable; 0 when the file is missing
// or no PE image this reader knows.
int ExecutableBits(const CString& path);

// The machine field of a PE image's file header (0x014c x86, 0x8664 x64,
// 0xAA64 ARM64, ...); 0 when the file is missing or no PE image. A DLL is
// read as an executable is.
unsigned ExecutableMachine(const CString& path);

// The machine this code was built for, as ExecutableMachine names it.
unsigned OwnMachine();

// "x86", "x64", "ARM64", or the number in hex for another; "no PE image"
// for 0.
CString MachineName(unsigned machine);
