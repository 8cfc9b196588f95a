#pragma once
// The libraries that only the splash and the start failure dialog use
// (ole32, oleaut32, comctl32, shell32, the rich-edit library) are loaded when
// first used instead of being imported: the loader maps every imported
// library before WinMain runs, and a launch that shows neither window would
// pay for them on every start.
#include <windows.h>

// Loads the named library from the system folder only, never from the folder
// the launcher sits in (a file of that name planted beside the launcher, say
// in a downloads folder, would otherwise run inside it). Null when it cannot
// be loaded. The library stays loaded for the rest of the process, so the
// handle is never freed.
HMODULE LoadSystemLibrary(const char* fileName);

// The address of function in the system library fileName, loading the
// library on first use; null when either is missing. Callers cast it to the
// function's own type.
FARPROC GetSystemLibraryFunction(const char* fileName, const char* function);
