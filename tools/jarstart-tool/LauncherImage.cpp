#include "tools/jarstart-tool/LauncherImage.h"

#include "tools/jarstart-tool/HostFiles.h"
#include "tools/jarstart-tool/PeImage.h"
#include "tools/jarstart-tool/StringBlock.h"
#include "tools/jarstart-tool/Utf8Text.h"

const ResourceItem* FindAsLoaderDoes(const std::vector<ResourceItem>& items, int type, int id) {
    const std::uint16_t preferred[] = {0x0000, 0x0409, 0x0009};
    const ResourceItem* first = nullptr;
    for (std::uint16_t language : preferred) {
        for (const ResourceItem& item : items) {
            if (!item.type.Is(static_cast<std::uint16_t>(type)) || !item.name.Is(static_cast<std::uint16_t>(id))) continue;
            if (!first) first = &item;
            if (item.language == language) return &item;
        }
    }
    return first;
}

bool ReadLauncherImage(const std::string& path, LauncherImage* image, std::string* error) {
    *image = LauncherImage();
    std::string reason;
    if (!ReadWholeFile(path, &image->bytes, &reason)) {
        *error = "cannot read " + path + ": " + reason;
        return false;
    }
    PeHeaders headers;
    if (!ReadPeHeaders(image->bytes, &headers)) {
        *error = path + " is not a PE executable";
        return false;
    }
    image->subsystem = headers.subsystem;
    image->machine = headers.machine;
    PeLayout layout;
    const unsigned kSecurityDirectory = 4;
    if (ReadPeLayout(image->bytes, &layout) && layout.directoryCount > kSecurityDirectory) {
        size_t size = layout.directories + 8 * kSecurityDirectory + 4;
        const std::string& b = image->bytes;
        if (size + 4 <= b.size())
            for (int i = 3; i >= 0; --i)
                image->signatureBytes = (image->signatureBytes << 8) | static_cast<unsigned char>(b[size + i]);
    }
    if (!ReadResources(image->bytes, &image->resources)) {
        *error = path + " has a damaged resource section";
        return false;
    }
    for (int blockId = FIRST_PROPERTY_BLOCK_ID; blockId <= LAST_PROPERTY_BLOCK_ID; ++blockId) {
        std::vector<std::u16string> strings(STRINGS_PER_BLOCK);
        const ResourceItem* block = FindAsLoaderDoes(image->resources, 6, blockId);
        if (block && !DecodeStringBlock(block->bytes, &strings)) {
            *error = path + " has a damaged string table";
            return false;
        }
        image->propertyStrings.insert(image->propertyStrings.end(), strings.begin(), strings.end());
    }
    const ResourceItem* splash = FindAsLoaderDoes(image->resources, kSplashResourceType, kSplashResourceId);
    image->hasSplash = splash != nullptr;
    for (const ResourceItem& item : image->resources)
        if (IsExampleMarker(item)) image->isExample = true;
    if (splash) image->splash = splash->bytes;
    return true;
}

std::string PropertyValue(const LauncherImage& image, int id) {
    int index = id - kFirstPropertyId;
    if (index < 0 || index >= static_cast<int>(image.propertyStrings.size())) return std::string();
    return Utf16ToUtf8(image.propertyStrings[index]);
}

bool IsExampleMarker(const ResourceItem& item) {
    return item.type.Is(10) && !item.name.isNumber && item.name.text == u"EXAMPLE";
}
