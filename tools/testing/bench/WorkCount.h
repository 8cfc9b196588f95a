#pragma once
// What one launcher start does on its way, counted rather than timed: the
// processes it starts, the paths it looks up, the registry keys it opens.
// Wine's own trace channels count them, so the numbers exist only under Wine.
#include <string>

struct WorkCount {
    bool counted = false;  // false: not under Wine, or the start failed
    int processes = 0;     // CreateProcess calls of the launcher process
    int pathLookups = 0;   // file-system names it resolved (opens, attributes, listings)
    int keyOpens = 0;      // registry keys it opened
};

// Starts "<exePath>" in its folder with Wine's file, process and registry
// traces on, writes them to tracePath, waits for the start to end (within
// timeoutMs) and counts the lines of the launcher process.
WorkCount CountWork(const std::string& exePath, const std::string& tracePath, unsigned timeoutMs = 20000);
