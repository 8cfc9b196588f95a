#pragma once
// Whole-file reads and writes for the test tools.
#include <string>

// False when the file cannot be opened or read; *content is then empty.
bool ReadWholeFile(const std::string& path, std::string* content);
// The file's bytes; "" when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// Writes path + ".tmp" and renames it over path, so a reader polling for the
// file never sees it half written. False when either step fails.
bool WriteWholeFile(const std::string& path, const std::string& content);
// The folder of the running executable, with a trailing backslash.
std::string GetExeFolder();
