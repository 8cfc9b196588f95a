#include "ui/SystemLibrary.h"

#include <cstring>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

HMODULE LoadSystemLibrary(const char* fileName) {
    // The flag also keeps the libraries it depends on in the system folder.
    HMODULE library = LoadLibraryExA(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library) return library;
    // Systems without the flag reject it as an invalid parameter: name the
    // file by its full path instead, and let its dependencies be searched
    // from the system folder first.
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    size_t nameLength = std::strlen(fileName);
    if (length == 0 || length + 1 + nameLength + 1 > MAX_PATH) return nullptr;
    path[length] = '\\';
    std::memcpy(path + length + 1, fileName, nameLength + 1);
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

FARPROC GetSystemLibraryFunction(const char* fileName, const char* function) {
    // Loaded again on every call rather than taken from GetModuleHandle,
    // which would accept a module of that name from any folder; a second
    // load of a loaded library only counts a reference.
    HMODULE library = LoadSystemLibrary(fileName);
    return library ? GetProcAddress(library, function) : nullptr;
}
