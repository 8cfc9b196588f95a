#pragma once
// Runs the real build\jarstart-tool.exe as a child process and captures
// what it writes, so the tests see exactly what a user would.
#include <windows.h>

#include <string>
#include <vector>

struct ToolRun {
    bool started = false;
    DWORD exitCode = 0;
    std::string out;  // standard output, bytes as written
    std::string err;  // standard error
    bool timedOut = false;
};

// arguments is the tool's command line after its own quoted path; the tool
// runs in currentDir ("" = ours). A tool still running after a minute (say,
// a launcher waiting in a dialog nobody closes) is ended, and the run is
// marked timedOut, so a fault fails the test instead of hanging it.
// Arguments that are valid UTF-8 reach the tool as that Unicode text, any
// others as ANSI text.
ToolRun RunTool(const std::string& arguments, const std::string& currentDir = std::string());

// out split at line ends ("\r\n" or "\n"), without them.
std::vector<std::string> Lines(const std::string& text);
