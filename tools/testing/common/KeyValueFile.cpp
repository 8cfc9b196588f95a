#include "tools/testing/common/KeyValueFile.h"

static const char kHex[] = "0123456789ABCDEF";

std::string EscapeText(const std::string& raw) {
    std::string out;
    out.reserve(raw.size());
    for (char c : raw) {
        unsigned char b = static_cast<unsigned char>(c);
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (b < 0x20 || b > 0x7E) {
                out += "\\x";
                out += kHex[b >> 4];
                out += kHex[b & 15];
            } else {
                out += c;
            }
        }
    }
    return out;
}

static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string UnescapeText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char c = text[++i];
        switch (c) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case '0': out += '\0'; break;
        case 'x': {
            int value = 0;
            int digits = 0;
            while (digits < 2 && i + 1 < text.size() && HexDigit(text[i + 1]) >= 0) {
                value = value * 16 + HexDigit(text[++i]);
                ++digits;
            }
            if (digits == 0) out += 'x';
            else out += static_cast<char>(value);
            break;
        }
        default: out += c; break;
        }
    }
    return out;
}

std::string FormatKeyValue(const std::string& key, const std::string& value) {
    return key + "=" + EscapeText(value) + "\r\n";
}

KeyValues ParseKeyValues(const std::string& content) {
    KeyValues values;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            values.emplace_back(line.substr(0, equals), UnescapeText(line.substr(equals + 1)));
        start = end + 1;
    }
    return values;
}

std::string FindValue(const KeyValues& values, const std::string& key, const std::string& fallback) {
    for (auto it = values.rbegin(); it != values.rend(); ++it)
        if (it->first == key) return it->second;
    return fallback;
}
