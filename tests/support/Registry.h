#pragma once
// Scratch registry entries in the private Wine prefix, in the 32-bit view
// the launcher reads. Each Java key a test writes is removed by the guard.
#include <windows.h>

#include <string>

// Writes hive\keyPath value "name" = data (REG_SZ), creating keys. view:
// 0 for this 32-bit process's own view, KEY_WOW64_64KEY for the 64-bit one.
void WriteRegString(HKEY hive, const std::string& keyPath, const std::string& name, const std::string& data,
                    REGSAM view = 0);
// The 64-bit registry view is another view only for a 32-bit program, as the
// shipped launcher is; a test build for 64-bit Windows (on machines that run
// no 32-bit code) has no other view for the launcher to search.
inline bool HasOther64BitRegistryViewHere() { return sizeof(void*) == 4; }
#define SKIP_WITHOUT_OTHER_64BIT_VIEW()                                                          \
    if (!HasOther64BitRegistryViewHere())                                                        \
    GTEST_SKIP() << "a 64-bit build of the launcher reads the 64-bit view as its own"

// Removes SOFTWARE\JavaSoft (both hives) at construction and destruction.
class JavaSoftRegistryGuard {
public:
    JavaSoftRegistryGuard();
    ~JavaSoftRegistryGuard();
};

// Removes, in both hives and both registry views, every key a runtime
// installer writes that the launcher reads (SOFTWARE\JavaSoft and the vendor
// keys), at construction and destruction.
class RuntimeRegistryGuard {
public:
    RuntimeRegistryGuard();
    ~RuntimeRegistryGuard();
};
