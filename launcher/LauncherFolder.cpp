#include "launcher/LauncherFolder.h"

#include <cstring>

#include <windows.h>

int GetLauncherFolder(char* buffer) {
    buffer[0] = '\0';
    HMODULE module = GetModuleHandleA(nullptr);
    if (!module) return -1;
    DWORD length = GetModuleFileNameA(module, buffer, MAX_PATH);
    if (length == 0) {
        buffer[0] = '\0';
        return -1;
    }
    // A cut path may come back without its terminating zero.
    buffer[length < MAX_PATH ? length : MAX_PATH - 1] = '\0';
    const char* lastBackslash = std::strrchr(buffer, '\\');
    if (!lastBackslash) return -1;
    return static_cast<int>(lastBackslash - buffer);
}
