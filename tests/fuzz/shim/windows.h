#pragma once
// The few Windows types and calls that the text logic uses, for the native
// sanitizer builds only. Nothing here is linked into the launcher.
#include <cstddef>
#include <cstdint>

typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef std::uint32_t DWORD;
typedef int BOOL;
typedef unsigned int UINT;
typedef char16_t WCHAR;
typedef void* HANDLE;
typedef struct HWND__* HWND;
typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;

#define MAX_PATH 260
#define CP_ACP 0
#define CP_UTF8 65001

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};

struct CRITICAL_SECTION {
    void* opaque[6];
};

// The ANSI code page here is 1252: one UTF-16 unit per byte; the bytes
// 0x80..0x9F map to their 1252 characters, the five unassigned ones to
// themselves, as the system does.
inline WCHAR AnsiToUnit(unsigned char c) {
    static const WCHAR kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    return c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : static_cast<WCHAR>(c);
}

// Only the forms the product uses: a zero-terminated source (length -1),
// measuring when out is null.
inline int MultiByteToWideChar(UINT, DWORD, const char* text, int length, WCHAR* out, int capacity) {
    if (length != -1) return 0;
    int units = 0;
    while (text[units]) ++units;
    ++units;  // the terminating zero counts
    if (!out) return units;
    if (capacity < units) return 0;
    for (int i = 0; i < units; ++i) out[i] = AnsiToUnit(static_cast<unsigned char>(text[i]));
    return units;
}

inline void OutputDebugStringA(const char*) {}

// Served by the fuzz target that needs them: LoadStringW only in its form
// without a buffer, WideCharToMultiByte from CP_ACP's units back to bytes.
HMODULE GetModuleHandleA(const char* name);
int LoadStringW(HINSTANCE module, UINT id, wchar_t* buffer, int capacity);
int WideCharToMultiByte(UINT codePage, DWORD flags, const wchar_t* text, int length, char* out, int capacity,
                        const char* defaultChar, BOOL* usedDefault);
