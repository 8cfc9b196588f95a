#include "tools/jarstart-tool/StringBlock.h"

bool DecodeStringBlock(const std::string& bytes, std::vector<std::u16string>* strings) {
    strings->assign(STRINGS_PER_BLOCK, std::u16string());
    size_t pos = 0;
    for (int i = 0; i < STRINGS_PER_BLOCK; ++i) {
        if (pos + 2 > bytes.size()) return false;
        size_t length = static_cast<unsigned char>(bytes[pos]) | (static_cast<unsigned char>(bytes[pos + 1]) << 8);
        pos += 2;
        if (pos + 2 * length > bytes.size()) return false;
        std::u16string& text = (*strings)[i];
        text.resize(length);
        for (size_t k = 0; k < length; ++k) {
            text[k] = static_cast<char16_t>(static_cast<unsigned char>(bytes[pos]) |
                                            (static_cast<unsigned char>(bytes[pos + 1]) << 8));
            pos += 2;
        }
    }
    return true;
}

bool EncodeStringBlock(const std::vector<std::u16string>& strings, std::string* bytes) {
    if (strings.size() > STRINGS_PER_BLOCK) return false;
    bytes->clear();
    for (int i = 0; i < STRINGS_PER_BLOCK; ++i) {
        std::u16string text = i < static_cast<int>(strings.size()) ? strings[i] : std::u16string();
        if (text.size() > 0xFFFF) return false;
        bytes->push_back(static_cast<char>(text.size() & 0xFF));
        bytes->push_back(static_cast<char>(text.size() >> 8));
        for (char16_t c : text) {
            bytes->push_back(static_cast<char>(c & 0xFF));
            bytes->push_back(static_cast<char>(c >> 8));
        }
    }
    return true;
}
