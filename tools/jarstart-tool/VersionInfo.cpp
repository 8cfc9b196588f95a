#include "tools/jarstart-tool/VersionInfo.h"

#include <vector>

#include "tools/jarstart-tool/Utf8Text.h"

namespace {
void AppendWord(std::string* out, unsigned value) {
    out->push_back(static_cast<char>(value & 0xFF));
    out->push_back(static_cast<char>((value >> 8) & 0xFF));
}

void AppendDword(std::string* out, unsigned long value) {
    AppendWord(out, value & 0xFFFF);
    AppendWord(out, (value >> 16) & 0xFFFF);
}

void AppendText(std::string* out, const std::u16string& text) {
    for (char16_t c : text) AppendWord(out, c);
    AppendWord(out, 0);
}

void PadToDword(std::string* out) {
    while (out->size() % 4) out->push_back(0);
}

// Every block of the resource has one shape: its length, its value's
// length, a type (1 text, 0 binary), a key, the value and the child blocks,
// each part starting on a 32-bit boundary. The length counts the block's
// own bytes and its children, not the padding after it.
struct Block {
    std::u16string key;
    std::string value;
    unsigned valueLength = 0;  // in words for text values, in bytes for binary ones
    bool text = false;
    std::vector<Block> children;
};

std::string EncodeBlock(const Block& block) {
    std::string out;
    AppendWord(&out, 0);  // length, patched below
    AppendWord(&out, block.valueLength);
    AppendWord(&out, block.text ? 1 : 0);
    AppendText(&out, block.key);
    PadToDword(&out);
    out += block.value;
    for (const Block& child : block.children) {
        PadToDword(&out);
        out += EncodeBlock(child);
    }
    out[0] = static_cast<char>(out.size() & 0xFF);
    out[1] = static_cast<char>((out.size() >> 8) & 0xFF);
    return out;
}

std::u16string Utf16Key(const char* ascii) {
    std::u16string key;
    for (const char* p = ascii; *p; ++p) key.push_back(static_cast<char16_t>(*p));
    return key;
}

Block TextBlock(const char* key, const std::string& utf8Value) {
    Block block;
    block.key = Utf16Key(key);
    std::u16string value = Utf8ToUtf16(utf8Value);
    AppendText(&block.value, value);
    block.valueLength = static_cast<unsigned>(value.size() + 1);
    block.text = true;
    return block;
}

std::string FixedFileInfo(const unsigned short number[4]) {
    unsigned long high = (static_cast<unsigned long>(number[0]) << 16) | number[1];
    unsigned long low = (static_cast<unsigned long>(number[2]) << 16) | number[3];
    std::string out;
    AppendDword(&out, 0xFEEF04BDul);  // signature
    AppendDword(&out, 0x00010000ul);  // structure version 1.0
    AppendDword(&out, high);          // file version
    AppendDword(&out, low);
    AppendDword(&out, high);          // product version
    AppendDword(&out, low);
    AppendDword(&out, 0x3Ful);        // flags mask: every defined flag
    AppendDword(&out, 0);             // flags: a release build
    AppendDword(&out, 0x00040004ul);  // VOS_NT_WINDOWS32
    AppendDword(&out, 1);             // VFT_APP
    AppendDword(&out, 0);             // subtype
    AppendDword(&out, 0);             // date
    AppendDword(&out, 0);
    return out;
}
}  // namespace

bool ParseVersionNumber(const std::string& text, unsigned short number[4]) {
    unsigned short parts[4] = {0, 0, 0, 0};
    size_t count = 0, at = 0;
    while (true) {
        size_t digits = 0;
        unsigned long value = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            value = value * 10 + static_cast<unsigned long>(text[at] - '0');
            if (value > 0xFFFF) return false;
            ++at;
            ++digits;
        }
        if (digits == 0 || count == 4) return false;
        parts[count++] = static_cast<unsigned short>(value);
        if (at == text.size()) break;
        if (text[at] != '.') return false;
        ++at;
    }
    for (int i = 0; i < 4; ++i) number[i] = parts[i];
    return true;
}

std::string EncodeVersionInfo(const VersionFields& fields) {
    Block table;
    table.key = Utf16Key("040904B0");  // US English, Unicode
    table.text = true;
    std::string version;
    if (fields.hasNumber) {
        for (int i = 0; i < 4; ++i) version += (i ? "." : "") + std::to_string(fields.number[i]);
    }
    const struct { const char* key; const std::string& value; } strings[] = {
        {"CompanyName", fields.company},     {"FileDescription", fields.description},
        {"FileVersion", version},            {"LegalCopyright", fields.copyright},
        {"ProductName", fields.product},     {"ProductVersion", version},
    };
    for (const auto& s : strings) {
        if (!s.value.empty()) table.children.push_back(TextBlock(s.key, s.value));
    }
    Block stringInfo;
    stringInfo.key = Utf16Key("StringFileInfo");
    stringInfo.text = true;
    stringInfo.children.push_back(table);

    Block translation;
    translation.key = Utf16Key("Translation");
    AppendWord(&translation.value, 0x0409);
    AppendWord(&translation.value, 1200);
    translation.valueLength = 4;
    Block varInfo;
    varInfo.key = Utf16Key("VarFileInfo");
    varInfo.text = true;
    varInfo.children.push_back(translation);

    Block root;
    root.key = Utf16Key("VS_VERSION_INFO");
    root.value = FixedFileInfo(fields.number);
    root.valueLength = static_cast<unsigned>(root.value.size());
    root.children.push_back(stringInfo);
    root.children.push_back(varInfo);
    return EncodeBlock(root);
}
