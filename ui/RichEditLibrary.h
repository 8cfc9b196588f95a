#pragma once
#include <windows.h>

// Loads RICHED32.DLL from the system folder only, never from the folder the
// launcher sits in (a file of that name planted beside the launcher, say in
// a downloads folder, would otherwise run inside it). Loading it makes the
// window class "RichEdit20A" available. Null when it cannot be loaded; the
// library is meant to stay loaded for the rest of the process.
HMODULE LoadRichEditLibrary();
