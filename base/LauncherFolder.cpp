#include "base/LauncherFolder.h"

#include <cstring>

#include <windows.h>

int GetLauncherFolder(char* buffer) {
    buffer[0] = '\0';
    HMODULE module = GetModuleHandleA(nullptr);
    if (!module) return -1;
    return LauncherFolderIndex(buffer, GetModuleFileNameA(module, buffer, MAX_PATH));
}

int LauncherFolderIndex(char* buffer, unsigned long length) {
    // A path that does not fit comes back cut, often inside a folder name:
    // its "folder" would be some other folder, holding somebody else's
    // files. Such a path counts as not obtained.
    if (length == 0 || length >= MAX_PATH) {
        buffer[0] = '\0';
        return -1;
    }
    buffer[length] = '\0';
    const char* lastBackslash = std::strrchr(buffer, '\\');
    if (!lastBackslash) return -1;
    return static_cast<int>(lastBackslash - buffer);
}
