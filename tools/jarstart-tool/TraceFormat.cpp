#include "tools/jarstart-tool/TraceFormat.h"

std::string FormatEntry(const std::string& entry) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(entry.size());
    for (size_t i = 0; i < entry.size(); ++i) {
        char c = entry[i];
        unsigned char byte = static_cast<unsigned char>(c);
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < entry.size() && entry[i + 1] == '\n') ++i;
            // A line end that closes the entry is the printed line's own.
            if (i + 1 < entry.size()) out += "\n  ";
        } else if (c != '\t' && (byte < 0x20 || byte == 0x7F)) {
            out += "\\x";
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 15]);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string DebuggeeCommandLine(const std::string& exe, const std::string& rest) {
    return "\"" + exe + "\" " + rest;
}
