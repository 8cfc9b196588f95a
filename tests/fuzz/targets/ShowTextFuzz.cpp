// What show reads of files it is given: a version resource, an icon group
// and a splash image, each any bytes. Nothing is read outside them, and a
// version resource the tool wrote reads back as written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/jarstart-tool/ConfigFile.h"
#include "tools/jarstart-tool/ConfigureChecks.h"
#include "tools/jarstart-tool/IconFile.h"
#include "tools/jarstart-tool/VersionInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    DecodedVersionInfo info;
    DecodeVersionInfo(bytes, &info);
    DescribeSplashImage(bytes);
    std::vector<ResourceItem> resources(2);
    resources[0].type = ResourceId::Number(14);
    resources[0].bytes = bytes;
    resources[1].type = ResourceId::Number(3);
    resources[1].name = ResourceId::Number(1);
    resources[1].bytes = bytes;
    DescribeIcon(resources);
    std::vector<std::string> options;
    std::string error;
    if (!ConfigFileOptions(bytes, "f", "", &options, &error) && error.empty()) std::abort();
    if (options.size() % 2) std::abort();

    // The texts as version fields: what the encoder writes decodes to them.
    VersionFields fields;
    fields.hasNumber = size > 0;
    for (int i = 0; i < 4 && i < static_cast<int>(size); ++i) fields.number[i] = data[i];
    fields.product = bytes.substr(0, size / 2);
    fields.company = bytes.substr(size / 2);
    DecodedVersionInfo back;
    if (!DecodeVersionInfo(EncodeVersionInfo(fields), &back)) std::abort();
    if (!back.hasFixed) std::abort();
    for (int i = 0; i < 4; ++i)
        if (back.fileVersion[i] != fields.number[i]) std::abort();
    return 0;
}
