// Version extraction and comparison over any -version output and any pair
// or triple of version texts: no fault, and the comparison is an order.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/CString.h"
#include "runtime/Version.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool HasComponents(const std::string& version) { return !version.empty() && IsDigit(version[0]); }

// The comparison rule written out with 64-bit numbers: digit runs joined by
// single separators, each run's value capped at 999999999, a leading 1 of a
// longer version dropped, then compared component by component, missing
// ones counting as 0.
std::vector<unsigned long long> Components(const std::string& text) {
    const unsigned long long kCap = 999999999ULL;
    std::vector<unsigned long long> parts;
    size_t i = 0;
    while (i < text.size() && IsDigit(text[i])) {
        unsigned long long value = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            if (value <= kCap) value = value * 10 + static_cast<unsigned long long>(text[i] - '0');
        }
        parts.push_back(value > kCap ? kCap : value);
        bool separator = i < text.size() && std::strchr("._-+", text[i]) && text[i] != '\0';
        if (!separator || i + 1 >= text.size() || !IsDigit(text[i + 1])) break;
        ++i;
    }
    if (parts.size() > 1 && parts[0] == 1) parts.erase(parts.begin());
    return parts;
}

bool AtLeast(const std::string& minimum, const std::string& version) {
    std::vector<unsigned long long> have = Components(version);
    if (have.empty()) return false;
    std::vector<unsigned long long> need = Components(minimum);
    have.resize(std::max(have.size(), need.size()));
    need.resize(have.size());
    return have >= need;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string output(reinterpret_cast<const char*>(data), size);
    const Text found = ExtractVersion(output);
    const std::string extracted(found.c_str(), found.size());
    // A part of one line, never longer than the output.
    if (extracted.find('\n') != std::string::npos) std::abort();
    if (!extracted.empty() && output.find(extracted) == std::string::npos) std::abort();

    FuzzedDataProvider provider(data, size);
    const std::string a = provider.ConsumeRandomLengthString(64);
    const std::string b = provider.ConsumeRandomLengthString(64);
    const std::string c = provider.ConsumeRemainingBytesAsString();
    const char* va = a.c_str();
    const char* vb = b.c_str();
    const char* vc = c.c_str();

    const bool ab = VersionAtLeast(va, vb);  // b >= a
    const bool ba = VersionAtLeast(vb, va);  // a >= b
    const bool bc = VersionAtLeast(vb, vc);  // c >= b
    const bool ac = VersionAtLeast(va, vc);  // c >= a

    // Numbers as large as a component may get compare as they read.
    if (ab != AtLeast(va, vb) || ba != AtLeast(vb, va) || bc != AtLeast(vb, vc)) std::abort();
    // A version with digits is at least itself; one without is never enough.
    if (HasComponents(a.c_str()) != VersionAtLeast(va, va)) std::abort();
    if (!HasComponents(b.c_str()) && ab) std::abort();
    // Any two versions with digits are comparable, and the order is
    // transitive.
    if (HasComponents(a.c_str()) && HasComponents(b.c_str()) && !ab && !ba) std::abort();
    if (ab && bc && !ac) std::abort();
    // The extracted version behaves as any other text.
    VersionAtLeast(va, extracted.c_str());
    return 0;
}
