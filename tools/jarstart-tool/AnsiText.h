#pragma once
// Between the ANSI code page (what the launcher reads through LoadStringA)
// and the UTF-16 text a string table stores.
#include <string>

std::u16string AnsiToUtf16(const std::string& text);
std::string Utf16ToAnsi(const std::u16string& text);
