#include "tools/jarstart-tool/Configure.h"

#include "tools/jarstart-tool/HostFiles.h"
#include "tools/jarstart-tool/IconFile.h"
#include "tools/jarstart-tool/LauncherImage.h"
#include "tools/jarstart-tool/PropertyNames.h"
#include "tools/jarstart-tool/ResourceWriter.h"
#include "tools/jarstart-tool/StartProperties.h"
#include "tools/jarstart-tool/StringBlock.h"
#include "tools/jarstart-tool/Utf8Text.h"

namespace {
const std::uint16_t kNeutral = 0;  // LANG_NEUTRAL, SUBLANG_NEUTRAL

bool IsReplaced(const ResourceItem& item, const ConfigureRequest& request, bool fromExample) {
    // Every language of the property block goes: a second copy in another
    // language would leave two values for one id.
    if (item.type.Is(6) && item.name.isNumber && IsPropertyBlockId(item.name.number)) return true;
    // A configured copy is no longer the example, whatever it kept of it.
    if (IsExampleMarker(item)) return true;
    if (request.setSplash && item.type.Is(kSplashResourceType) && item.name.Is(kSplashResourceId)) return true;
    // A new icon replaces every icon: images of an old group left behind
    // would be dead weight, an old group a second icon.
    if (request.setIcon && (item.type.Is(3) || item.type.Is(14))) return true;
    // jarstart.exe's own version information names the launcher, not the
    // application a copy starts: a copy names its product or nothing.
    if (fromExample && item.type.Is(16)) return true;
    return request.setVersion && item.type.Is(16);
}

ResourceItem Item(std::uint16_t type, std::uint16_t name, std::uint16_t language, const std::string& bytes) {
    ResourceItem item;
    item.type = ResourceId::Number(type);
    item.name = ResourceId::Number(name);
    item.language = language;
    item.bytes = bytes;
    return item;
}
}  // namespace

bool ConfigureBytes(const ConfigureRequest& request, std::string* output, std::string* error, std::string* note) {
    if (note) note->clear();
    for (const auto& prop : request.props) {
        if (prop.first < kFirstPropertyId || prop.first > kLastPropertyId) {
            *error = "property id " + std::to_string(prop.first) + " is outside " + PropertyIdRange();
            return false;
        }
    }
    if (request.output.empty()) {
        *error = "no output file given";
        return false;
    }
    std::vector<IconImage> icons;
    if (request.setIcon && !ParseIconFile(request.iconBytes, &icons, error)) return false;
    LauncherImage image;
    if (!ReadLauncherImage(request.input, &image, error)) return false;

    // A new configuration starts from no properties: the example's values
    // (a keep-alive window, a VM parameter of another product) must not ship
    // with an application whose vendor set only a few. --keep is for
    // re-configuring a configured copy.
    std::vector<std::u16string> strings = request.keepProperties
                                              ? image.propertyStrings
                                              : std::vector<std::u16string>(image.propertyStrings.size());
    for (const auto& prop : request.props) strings[prop.first - kFirstPropertyId] = Utf8ToUtf16(prop.second);
    if (request.checkStartTarget) {
        std::string problem = StartPropertiesProblem(strings);
        if (!problem.empty()) {
            *error = problem;
            return false;
        }
    }
    std::vector<ResourceItem> blocks;
    for (int blockId = FIRST_PROPERTY_BLOCK_ID; blockId <= LAST_PROPERTY_BLOCK_ID; ++blockId) {
        auto first = strings.begin() + (blockId - FIRST_PROPERTY_BLOCK_ID) * STRINGS_PER_BLOCK;
        std::vector<std::u16string> block(first, first + STRINGS_PER_BLOCK);
        // The first block is always written, as it always was; a later one
        // only when it holds a value, so a copy that sets none of its
        // properties has the same bytes as before they existed.
        bool empty = true;
        for (const std::u16string& text : block) empty = empty && text.empty();
        if (blockId != FIRST_PROPERTY_BLOCK_ID && empty) continue;
        std::string blockBytes;
        if (!EncodeStringBlock(block, &blockBytes)) {
            *error = "a property value is longer than 65535 characters";
            return false;
        }
        blocks.push_back(Item(6, static_cast<std::uint16_t>(blockId), kNeutral, blockBytes));
    }

    std::vector<ResourceItem> items;
    for (const ResourceItem& item : image.resources)
        if (!IsReplaced(item, request, image.isExample)) items.push_back(item);
    items.insert(items.end(), blocks.begin(), blocks.end());
    if (request.setSplash) items.push_back(Item(kSplashResourceType, kSplashResourceId, kNeutral, request.splashBytes));
    if (request.setIcon) {
        std::vector<ResourceItem> iconItems = IconResources(icons, kNeutral);
        items.insert(items.end(), iconItems.begin(), iconItems.end());
    }
    if (request.setVersion)
        items.push_back(Item(16, VERSION_RESOURCE_ID, VERSION_LANGUAGE, EncodeVersionInfo(request.version)));

    ResourceWriteResult written;
    std::string reason;
    if (!WriteResources(image.bytes, items, &written, &reason)) {
        *error = "cannot write the resources of " + request.output + ": " + request.input + " " + reason;
        return false;
    }
    if (written.removedSignature && note)
        *note = "note: " + request.input + " was signed; the signature no longer matched and was removed: sign " +
                request.output + " again";
    output->swap(written.image);
    return true;
}

bool ConfigureLauncher(const ConfigureRequest& request, std::string* error, std::string* note) {
    std::string bytes;
    if (!ConfigureBytes(request, &bytes, error, note)) return false;
    ReplaceStage stage = ReplaceStage::Write;
    std::string reason;
    if (ReplaceWholeFile(request.output, bytes, &stage, &reason)) return true;
    if (stage == ReplaceStage::Temporary)
        *error = "cannot create a temporary file beside " + request.output + ": " + reason;
    else
        *error = "cannot write " + request.output + ": " + reason;
    return false;
}
