#include "tools/jarstart-tool/TraceFormat.h"

std::string EscapeEntry(const std::string& entry) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(entry.size());
    for (char c : entry) {
        unsigned char byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\\': out += "\\\\"; break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                out += "\\x";
                out.push_back(kHex[byte >> 4]);
                out.push_back(kHex[byte & 15]);
            } else {
                out.push_back(c);
            }
        }
    }
    return out;
}

std::string DebuggeeCommandLine(const std::string& exe, const std::string& rest) {
    return "\"" + exe + "\" " + rest;
}
