#pragma once
// Scratch registry entries in the private Wine prefix, in the 32-bit view
// the launcher reads. Each Java key a test writes is removed by the guard.
#include <windows.h>

#include <string>

// Writes hive\keyPath value "name" = data (REG_SZ), creating keys.
void WriteRegString(HKEY hive, const std::string& keyPath, const std::string& name, const std::string& data);
// Removes SOFTWARE\JavaSoft (both hives) at construction and destruction.
class JavaSoftRegistryGuard {
public:
    JavaSoftRegistryGuard();
    ~JavaSoftRegistryGuard();
};
