#include "tools/jarstart-tool/LauncherImage.h"

#include "framework/ScopedWin.h"
#include "tools/jarstart-tool/AnsiText.h"
#include "tools/jarstart-tool/FileBytes.h"
#include "tools/jarstart-tool/PeImage.h"
#include "tools/jarstart-tool/StringBlock.h"

namespace {
// The bytes of the resource FindResourceA picks for the module, as the
// launcher's own LoadStringA / FindResourceA calls would.
bool FindAsLoaderDoes(HMODULE module, LPCSTR type, int id, std::string* bytes) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (!found) return false;
    DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data && size) return false;
    bytes->assign(static_cast<const char*>(data), size);
    return true;
}
}  // namespace

bool ReadLauncherImage(const std::string& path, LauncherImage* image, std::string* error) {
    *image = LauncherImage();
    image->propertyBlock.assign(STRINGS_PER_BLOCK, std::u16string());
    std::string bytes;
    DWORD code = 0;
    if (!ReadFileBytes(path, &bytes, &code)) {
        *error = "cannot read " + path + ": " + SystemMessage(code);
        return false;
    }
    PeHeaders headers;
    if (!ReadPeHeaders(bytes, &headers)) {
        *error = path + " is not a PE executable";
        return false;
    }
    image->subsystem = headers.subsystem;
    if (!CheckResources(bytes)) {
        *error = path + " has a damaged resource section";
        return false;
    }
    ScopedModule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) {
        code = GetLastError();
        *error = "cannot load " + path + " as a data file: " + SystemMessage(code);
        return false;
    }
    if (!ReadAllResources(module, &image->resources, &code)) {
        *error = "cannot read the resources of " + path + ": " + SystemMessage(code);
        return false;
    }
    std::string block;
    if (FindAsLoaderDoes(module, MAKEINTRESOURCEA(6), PROPERTY_BLOCK_ID, &block) &&
        !DecodeStringBlock(block, &image->propertyBlock)) {
        *error = path + " has a damaged string table";
        return false;
    }
    image->hasSplash = FindAsLoaderDoes(module, MAKEINTRESOURCEA(kSplashResourceType), kSplashResourceId, &image->splash);
    return true;
}

std::string PropertyValue(const LauncherImage& image, int id) {
    int index = id - FirstIdOfBlock(PROPERTY_BLOCK_ID);
    if (index < 0 || index >= static_cast<int>(image.propertyBlock.size())) return std::string();
    return Utf16ToAnsi(image.propertyBlock[index]);
}
