#include "tools/jarstart-tool/Configure.h"

#include <windows.h>

#include "tools/jarstart-tool/AnsiText.h"
#include "tools/jarstart-tool/FileBytes.h"
#include "tools/jarstart-tool/IconFile.h"
#include "tools/jarstart-tool/LauncherImage.h"
#include "tools/jarstart-tool/PropertyNames.h"
#include "tools/jarstart-tool/StringBlock.h"

namespace {
std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

bool IsReplaced(const ResourceItem& item, const ConfigureRequest& request) {
    // Every language of the property block goes: a second copy in another
    // language would leave two values for one id.
    if (item.type.Is(6) && item.name.Is(PROPERTY_BLOCK_ID)) return true;
    if (request.setSplash && item.type.Is(kSplashResourceType) && item.name.Is(kSplashResourceId)) return true;
    // A new icon replaces every icon: images of an old group left behind
    // would be dead weight, an old group a second icon.
    if (request.setIcon && (item.type.Is(3) || item.type.Is(14))) return true;
    return request.setVersion && item.type.Is(16);
}

// Removes the temporary file unless the rename took it.
class TempFile {
public:
    explicit TempFile(const std::string& path) : m_path(path) {}
    ~TempFile() { if (!m_path.empty()) DeleteFileA(m_path.c_str()); }
    void Keep() { m_path.clear(); }

private:
    std::string m_path;
};
}  // namespace

bool ConfigureLauncher(const ConfigureRequest& request, std::string* error) {
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

    std::vector<std::u16string> block = image.propertyBlock;
    for (const auto& prop : request.props)
        block[prop.first - FirstIdOfBlock(PROPERTY_BLOCK_ID)] = AnsiToUtf16(prop.second);
    std::string blockBytes;
    if (!EncodeStringBlock(block, &blockBytes)) {
        *error = "a property value is longer than 65535 characters";
        return false;
    }

    std::vector<ResourceItem> items;
    for (const ResourceItem& item : image.resources)
        if (!IsReplaced(item, request)) items.push_back(item);
    ResourceItem strings;
    strings.type = ResourceId::Number(6);
    strings.name = ResourceId::Number(PROPERTY_BLOCK_ID);
    strings.language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    strings.bytes = blockBytes;
    items.push_back(strings);
    if (request.setSplash) {
        ResourceItem splash;
        splash.type = ResourceId::Number(kSplashResourceType);
        splash.name = ResourceId::Number(kSplashResourceId);
        splash.language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
        splash.bytes = request.splashBytes;
        items.push_back(splash);
    }
    if (request.setIcon) {
        std::vector<ResourceItem> iconItems = IconResources(icons, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
        items.insert(items.end(), iconItems.begin(), iconItems.end());
    }
    if (request.setVersion) {
        ResourceItem version;
        version.type = ResourceId::Number(16);  // RT_VERSION
        version.name = ResourceId::Number(VERSION_RESOURCE_ID);
        version.language = VERSION_LANGUAGE;
        version.bytes = EncodeVersionInfo(request.version);
        items.push_back(version);
    }

    // A rename replaces a read-only file on some systems; one its owner
    // marked read-only is not ours to replace.
    DWORD existing = GetFileAttributesA(request.output.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY)) {
        *error = "cannot write " + request.output + ": " + SystemMessage(ERROR_ACCESS_DENIED);
        return false;
    }

    // The temporary copy sits beside the output so that the final rename
    // stays on one volume and never leaves a half-written output behind.
    char temp[MAX_PATH];
    if (!GetTempFileNameA(FolderOf(request.output).c_str(), "jst", 0, temp)) {
        DWORD code = GetLastError();
        *error = "cannot create a temporary file beside " + request.output + ": " + SystemMessage(code);
        return false;
    }
    TempFile guard(temp);
    if (!CopyFileA(request.input.c_str(), temp, FALSE)) {
        DWORD code = GetLastError();
        *error = "cannot copy " + request.input + ": " + SystemMessage(code);
        return false;
    }
    std::string updateError;
    if (!ReplaceAllResources(temp, items, &updateError)) {
        *error = "cannot write the resources of " + request.output + ": " + updateError;
        return false;
    }
    if (!MoveFileExA(temp, request.output.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DWORD code = GetLastError();
        *error = "cannot write " + request.output + ": " + SystemMessage(code);
        return false;
    }
    guard.Keep();
    return true;
}
