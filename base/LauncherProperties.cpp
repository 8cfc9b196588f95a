#include "base/LauncherProperties.h"

#include <cstdlib>

#include <windows.h>

int LoadResourceText(unsigned id, char* buffer, int capacity) {
    // The launcher's own module: the exe the process was started from.
    int loaded = LoadStringA(GetModuleHandleA(nullptr), id, buffer, capacity);
    if (loaded <= 0) {
        if (capacity > 0) buffer[0] = '\0';
        return 0;
    }
    return loaded;
}

bool LoadStringResource(CString& target, unsigned id) {
    // LoadStringA cuts a long text silently and reports only the count it
    // copied, so a count close to the buffer size means "maybe cut": try
    // again with a larger buffer until the text is clearly shorter.
    const int kFirstSize = 256;
    char buffer[kFirstSize];
    int loaded = LoadResourceText(id, buffer, kFirstSize);
    if (kFirstSize - loaded > 2) {
        target = buffer;
        return loaded > 0;
    }
    int size = kFirstSize;
    do {
        size += 256;
        char* grown = target.GetBuffer(size - 1);
        if (!grown) {
            loaded = 0;
            break;
        }
        loaded = LoadResourceText(id, grown, size);
    } while (size - loaded <= 2);
    target.ReleaseBuffer();
    return loaded > 0;
}

bool ReadBoolProperty(unsigned id) {
    CString text;
    return LoadStringResource(text, id);
}

int ReadIntProperty(unsigned id) {
    CString text;
    if (!LoadStringResource(text, id)) return 0;
    return std::atoi(text);
}

CString ReadStringProperty(unsigned id) {
    CString text;
    LoadStringResource(text, id);
    return text;
}
