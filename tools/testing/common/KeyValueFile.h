#pragma once
// "key=value" lines whose values carry C-style escapes, so that any byte
// (line ends, NUL, bytes above 0x7F) survives a text file. The stand-in
// runtime reads its behaviour in this form and writes its record in it.
#include <string>
#include <utility>
#include <vector>

typedef std::vector<std::pair<std::string, std::string>> KeyValues;

// Escapes backslash, quote, control bytes and bytes above 0x7E
// (\\ \" \n \r \t \xHH); everything else stays as it is.
std::string EscapeText(const std::string& raw);
// The reverse of EscapeText; also accepts \0 and \x with one or two hex
// digits. An unknown escape keeps the character after the backslash.
std::string UnescapeText(const std::string& text);

// One line "key=escaped value" with CR LF.
std::string FormatKeyValue(const std::string& key, const std::string& value);
// Every "key=value" line in order (LF or CR LF ends a line); lines without
// '=' are skipped. Values are unescaped.
KeyValues ParseKeyValues(const std::string& content);
// The value of the last line with the key; fallback when there is none.
std::string FindValue(const KeyValues& values, const std::string& key, const std::string& fallback = std::string());
