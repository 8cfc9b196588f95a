#include "runtime/ExeMachine.h"

#include <windows.h>

#include "framework/ScopedWin.h"

namespace {

bool ReadAt(HANDLE file, LONG offset, void* buffer, DWORD size) {
    if (SetFilePointer(file, offset, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
    DWORD read = 0;
    return ReadFile(file, buffer, size, &read, nullptr) && read == size;
}

}  // namespace

unsigned ExecutableMachine(const CString& path) {
    ScopedHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return 0;
    IMAGE_DOS_HEADER dos = {};
    if (!ReadAt(file, 0, &dos, sizeof(dos)) || dos.e_magic != IMAGE_DOS_SIGNATURE) return 0;
    // A header offset past a few kilobytes belongs to no real executable.
    if (dos.e_lfanew <= 0 || dos.e_lfanew > 64 * 1024) return 0;
    BYTE header[6] = {};
    if (!ReadAt(file, dos.e_lfanew, header, sizeof(header))) return 0;
    if (header[0] != 'P' || header[1] != 'E' || header[2] != 0 || header[3] != 0) return 0;
    return static_cast<unsigned>(header[4] | (header[5] << 8));
}

int ExecutableBits(const CString& path) {
    unsigned machine = ExecutableMachine(path);
    if (machine == 0x014c) return 32;                     // x86
    if (machine == 0x8664 || machine == 0xAA64) return 64; // x64, ARM64
    return 0;
}

unsigned OwnMachine() {
#if defined(_M_ARM64) || defined(__aarch64__)
    return 0xAA64;
#elif defined(_WIN64)
    return 0x8664;
#else
    return 0x014c;
#endif
}

CString MachineName(unsigned machine) {
    switch (machine) {
    case 0: return "no PE image";
    case 0x014c: return "x86";
    case 0x8664: return "x64";
    case 0xAA64: return "ARM64";
    }
    char text[] = "0x0000";
    for (int i = 5; i >= 2; --i, machine >>= 4) text[i] = "0123456789ABCDEF"[machine & 0xF];
    return text;
}
