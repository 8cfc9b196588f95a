#pragma once
// Runs a program as a debuggee and collects what it sends to the debugger
// channel. Used by "jarstart-tool trace" and by the end-to-end tests.
#include <windows.h>

#include <functional>
#include <string>

struct DebuggeeResult {
    bool started;      // false: CreateProcessA failed, error holds why
    DWORD error;
    DWORD exitCode;
};

// commandLine is passed to CreateProcessA unchanged; currentDir may be null.
// onStarted runs once with the process id right after creation (e.g. to
// start a watcher for its message boxes); onEntry runs for every
// OutputDebugStringA entry, with its bytes exactly, in order. Both run on the
// calling thread, which must be the one that waits. onLibrary runs for
// every library the debuggee loads, with the library's file name (no
// folder, lower case), in the order loaded.
DebuggeeResult RunDebuggee(const std::string& commandLine, const char* currentDir,
                           const std::function<void(const std::string&)>& onEntry,
                           const std::function<void(DWORD processId)>& onStarted = nullptr,
                           const std::function<void(const std::string& fileName)>& onLibrary = nullptr);
