#pragma once
// How trace prints one diagnostic entry and builds the debuggee's command line.
#include <string>

// The entry on one line: "\r", "\n", "\t" and "\\" as those two-character
// escapes, other control bytes (below 0x20 and 0x7F) as "\xNN"; every other
// byte, those of the ANSI code page included, unchanged.
std::string EscapeEntry(const std::string& entry);

// "\"" exe "\" " rest: the exe path in double quotes, one blank, and the
// rest of the tool's command line exactly as typed.
std::string DebuggeeCommandLine(const std::string& exe, const std::string& rest);
