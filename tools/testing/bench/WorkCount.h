#pragma once
// What one launcher start does on its way, counted rather than timed: Wine's
// own traces (files, processes, registry) of the launcher process, which
// bench.sh counts by process id. Wine writes them to the standard error
// the bench itself was started with, which only the script can redirect.
#include <windows.h>

#include <string>

// Starts "<exePath>" in its folder with WINEDEBUG set for it alone, waits
// for it to end (within timeoutMs); its process id, or 0.
DWORD StartTraced(const std::string& exePath, DWORD timeoutMs = 20000);
