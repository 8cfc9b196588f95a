#pragma once
// Small waits and folder helpers for the tests.
#include <functional>
#include <string>

// Polls the condition every 10 ms until it holds or timeoutMs pass; returns
// its last value. For events the tests cannot be told of directly (a file
// written by another process, a window shown).
bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs);
// Waits for the file to exist.
bool WaitForFile(const std::string& path, unsigned timeoutMs);
// Creates the folder and every missing parent (trailing backslash optional).
bool CreateFolders(const std::string& folder);
bool FileExists(const std::string& path);
