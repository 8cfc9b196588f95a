#pragma once
// Running a program with its standard output and error captured apart, for
// tests of programs that are not the launcher (the stand-in runtime).
#include <windows.h>

#include <string>

struct ChildRun {
    bool started = false;
    DWORD exitCode = 0;
    std::string out;  // standard output, bytes exactly
    std::string err;  // standard error
};

// commandLine goes to CreateProcessA unchanged; currentDir "" = ours.
// Waits for the program to end and its output to close.
ChildRun RunCapturing(const std::string& commandLine, const std::string& currentDir = std::string());
