#pragma once
// Whole-file reads and writes, and the one-line text of a Windows error.
#include <windows.h>

#include <string>

// False with GetLastError's value in *error when the file cannot be opened
// or read whole.
bool ReadFileBytes(const std::string& path, std::string* bytes, DWORD* error);
// The same for a wide path: the one reader on Windows, which the tool's
// UTF-8 file layer uses too.
bool ReadFileBytesW(const std::wstring& path, std::string* bytes, DWORD* error);
// Creates or truncates path. False with the error code on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes, DWORD* error);

// The system's message for error without the line end it comes with; ""
// when the system has none.
std::string SystemText(DWORD error);
// SystemText on one line without the final period; "error N" when empty.
std::string SystemMessage(DWORD error);
