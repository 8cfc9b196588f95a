#include "ui/RichEditLibrary.h"

#include <cstring>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

HMODULE LoadRichEditLibrary() {
    // The flag also keeps the libraries it depends on in the system folder.
    HMODULE library = LoadLibraryExA("RICHED32.DLL", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library) return library;
    // Systems without the flag reject it as an invalid parameter: name the
    // file by its full path instead, and let its dependencies be searched
    // from the system folder first.
    char path[MAX_PATH];
    const char name[] = "\\RICHED32.DLL";
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + sizeof(name) > MAX_PATH) return nullptr;
    std::memcpy(path + length, name, sizeof(name));
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
