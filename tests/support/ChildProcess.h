#pragma once
// Running a program with its standard output and error captured apart, for
// tests of programs that are not the launcher (the stand-in runtime).
#include <windows.h>

#include <functional>
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

// Runs commandLine (currentDir "" = ours) without capturing anything and
// waits up to timeoutMs for it to end; false when it did not start or did
// not end in time, in which case it is ended.
bool RunAndWait(const std::string& commandLine, const std::string& currentDir, DWORD timeoutMs, DWORD* exitCode);

// Runs commandLine (currentDir "" = ours) as a shell runs
// "commandLine < inPath > outPath 2> errPath", with creationFlags for
// CreateProcessA; whileRunning, when given, gets the program's process id
// once it has started. Waits up to timeoutMs for it to end; false when it did
// not start or did not end in time, in which case it is ended.
bool RunWithFiles(const std::string& commandLine, const std::string& currentDir, const std::string& inPath,
                  const std::string& outPath, const std::string& errPath, DWORD timeoutMs, DWORD* exitCode,
                  DWORD creationFlags = 0, const std::function<void(DWORD processId)>& whileRunning = nullptr);
