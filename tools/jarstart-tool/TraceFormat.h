#pragma once
// How trace prints one diagnostic entry and builds the debuggee's command line.
#include <string>

// The entry as it reads: paths keep their single backslashes, tabs stay
// tabs; a line break inside it (CR LF, LF or CR) continues the entry on a
// line indented by two blanks, and a line break that ends it is left to the
// printed line's own. Other control bytes (below 0x20 and 0x7F),
// which would steer a terminal, print as "\xNN". No final line end.
std::string FormatEntry(const std::string& entry);

// "\"" exe "\" " rest: the exe path in double quotes, one blank, and the
// rest of the tool's command line exactly as typed.
std::string DebuggeeCommandLine(const std::string& exe, const std::string& rest);
