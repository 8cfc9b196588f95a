// Version extraction and comparison over any -version output and any pair
// or triple of version texts: no fault, and the comparison is an order.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/CString.h"
#include "runtime/Version.h"

// The runtime search sets it; the comparison under test takes it as a
// parameter instead.
CString g_minJavaVersion;

namespace {

bool HasComponents(const std::string& version) { return !version.empty() && version[0] >= '0' && version[0] <= '9'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string output(reinterpret_cast<const char*>(data), size);
    const std::string extracted = ExtractVersion(output);
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
