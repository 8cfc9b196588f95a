#pragma once
// Scratch registry entries in the private Wine prefix, in the view the
// launcher of this build reads, or in its other view. Each Java key a test writes is removed by the guard.
#include <windows.h>

#include <string>

// Writes hive\keyPath value "name" = data (REG_SZ), creating keys. view:
// 0 for this process's own view, kOtherViewHere for the other machine's.
void WriteRegString(HKEY hive, const std::string& keyPath, const std::string& name, const std::string& data,
                    REGSAM view = 0);
// The view the launcher under test reads after its own: the 64-bit view for
// the 32-bit build, the 32-bit view (Wow6432Node) for the 64-bit build. The
// tests run on 64-bit Windows, where both exist.
const REGSAM kOwnViewHere = sizeof(void*) == 4 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
const REGSAM kOtherViewHere = sizeof(void*) == 4 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
// How the launcher's log names the other view: "64-bit" or "32-bit".
inline const char* OtherViewNameHere() { return sizeof(void*) == 4 ? "64-bit" : "32-bit"; }

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
