// The companion tool's string-table blocks: decoding any bytes, and encoding
// what was decoded gives back the bytes the decoder consumed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/jarstart-tool/StringBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::u16string> strings;
    if (DecodeStringBlock(bytes, &strings)) {
        if (strings.size() != STRINGS_PER_BLOCK) std::abort();
        std::string encoded;
        if (!EncodeStringBlock(strings, &encoded)) std::abort();
        // The decoder ignores what follows the sixteenth entry.
        if (encoded.size() > bytes.size() || bytes.compare(0, encoded.size(), encoded) != 0) std::abort();
        std::vector<std::u16string> again;
        if (!DecodeStringBlock(encoded, &again) || again != strings) std::abort();
    } else {
        // A block that ends inside an entry: the decoder read up to the end,
        // so the bytes must be shorter than the 16 entries they announce.
        if (bytes.size() >= 32 + 2 * 16 * 0xFFFF) std::abort();
    }

    // The other way round: the bytes taken as up to 16 strings.
    std::vector<std::u16string> texts;
    for (size_t i = 0; i + 1 < size && texts.size() < STRINGS_PER_BLOCK; i += 2) {
        if (texts.empty() || data[i] == 0) texts.push_back(std::u16string());
        texts.back() += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    }
    std::string block;
    if (!EncodeStringBlock(texts, &block)) std::abort();
    std::vector<std::u16string> decoded;
    if (!DecodeStringBlock(block, &decoded)) std::abort();
    texts.resize(STRINGS_PER_BLOCK);
    if (decoded != texts) std::abort();
    return 0;
}
