// The companion tool's reading of executable headers and import tables over
// any bytes: no read outside the file, and the two readers agree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/jarstart-tool/PeImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    PeHeaders headers;
    const bool isImage = ReadPeHeaders(bytes, &headers);
    if (isImage && headers.magic != 0x10b && headers.magic != 0x20b) std::abort();

    std::vector<std::string> dlls;
    const bool hasImports = ReadImportedDlls(bytes, &dlls);
    // The import reader sees an image exactly where the header reader does.
    if (hasImports && !isImage) std::abort();
    size_t total = 0;
    for (const std::string& dll : dlls) {
        // Names are stored zero-terminated: none holds a NUL, and every one
        // is text of the file.
        if (dll.find('\0') != std::string::npos || bytes.find(dll) == std::string::npos) std::abort();
        total += dll.size();
    }
    (void)total;
    return 0;
}
