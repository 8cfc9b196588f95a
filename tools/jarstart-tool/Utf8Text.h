#pragma once
// Between the UTF-8 text of the tool's command line and output and the
// UTF-16 text a string table or version resource stores. Malformed input
// (bytes that are not UTF-8, unpaired surrogates) becomes U+FFFD, so every
// input has one well-defined result on every system.
#include <string>

std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);
