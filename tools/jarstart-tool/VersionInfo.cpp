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

namespace {
unsigned WordAt(const std::string& b, size_t at) {
    return static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8);
}

// One block read back: its key, where its value and children lie. False
// when the block does not fit between begin and end.
struct ReadBlock {
    std::u16string key;
    size_t value = 0, valueBytes = 0;
    size_t children = 0, end = 0;
};

bool ReadBlockAt(const std::string& b, size_t begin, size_t end, ReadBlock* block) {
    if (begin + 6 > end) return false;
    size_t length = WordAt(b, begin);
    unsigned valueLength = WordAt(b, begin + 2);
    bool text = WordAt(b, begin + 4) == 1;
    if (length < 6 || begin + length > end) return false;
    block->end = begin + length;
    size_t at = begin + 6;
    block->key.clear();
    for (;;) {
        if (at + 2 > block->end) return false;
        unsigned c = WordAt(b, at);
        at += 2;
        if (c == 0) break;
        block->key.push_back(static_cast<char16_t>(c));
    }
    at = (at + 3) & ~static_cast<size_t>(3);
    block->value = at;
    block->valueBytes = text ? valueLength * 2 : valueLength;
    if (at + block->valueBytes > block->end) {
        // Some writers count the value of a string in bytes; take what fits.
        block->valueBytes = at <= block->end ? block->end - at : 0;
    }
    block->children = (at + block->valueBytes + 3) & ~static_cast<size_t>(3);
    return true;
}

std::u16string TextAt(const std::string& b, size_t at, size_t bytes) {
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes; i += 2) {
        unsigned c = WordAt(b, at + i);
        if (c == 0) break;
        text.push_back(static_cast<char16_t>(c));
    }
    return text;
}

unsigned long DwordAt(const std::string& b, size_t at) {
    return WordAt(b, at) | (static_cast<unsigned long>(WordAt(b, at + 2)) << 16);
}
}  // namespace

bool DecodeVersionInfo(const std::string& bytes, DecodedVersionInfo* info) {
    *info = DecodedVersionInfo();
    ReadBlock root;
    if (!ReadBlockAt(bytes, 0, bytes.size(), &root) || root.key != Utf16Key("VS_VERSION_INFO")) return false;
    if (root.valueBytes >= 52 && DwordAt(bytes, root.value) == 0xFEEF04BDul) {
        info->hasFixed = true;
        size_t v = root.value + 8;
        const size_t order[4] = {2, 0, 6, 4};  // the high word of each pair comes first
        for (int i = 0; i < 4; ++i) {
            info->fileVersion[i] = static_cast<unsigned short>(WordAt(bytes, v + order[i]));
            info->productVersion[i] = static_cast<unsigned short>(WordAt(bytes, v + 8 + order[i]));
        }
    }
    for (size_t at = root.children; at + 6 <= root.end;) {
        ReadBlock child;
        if (!ReadBlockAt(bytes, at, root.end, &child)) return false;
        if (child.key == Utf16Key("StringFileInfo")) {
            for (size_t t = child.children; t + 6 <= child.end;) {
                ReadBlock table;
                if (!ReadBlockAt(bytes, t, child.end, &table)) return false;
                for (size_t s = table.children; s + 6 <= table.end;) {
                    ReadBlock entry;
                    if (!ReadBlockAt(bytes, s, table.end, &entry)) return false;
                    info->strings.push_back(std::make_pair(Utf16ToUtf8(entry.key),
                                                           Utf16ToUtf8(TextAt(bytes, entry.value, entry.valueBytes))));
                    s = (entry.end + 3) & ~static_cast<size_t>(3);
                }
                t = (table.end + 3) & ~static_cast<size_t>(3);
            }
        }
        at = (child.end + 3) & ~static_cast<size_t>(3);
    }
    return true;
}

std::string VersionNumberText(const unsigned short number[4]) {
    return std::to_string(number[0]) + "." + std::to_string(number[1]) + "." + std::to_string(number[2]) + "." +
           std::to_string(number[3]);
}
