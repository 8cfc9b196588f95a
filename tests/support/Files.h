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
// Gives Everyone the right to change the file or folder (and what is made in
// it), as the shared folders any user may write to do. Wine keeps this as
// the Unix "others" write bit. False when it cannot be set.
bool LetEveryoneChange(const std::string& path);
// Writes the first bytes of a PE image of the given machine (0x014c x86,
// 0x8664 x64): all a reader of the machine looks at. False when the file
// cannot be written.
bool WritePeHeaderFile(const std::string& path, unsigned machine);
