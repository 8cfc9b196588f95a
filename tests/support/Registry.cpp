#include "tests/support/Registry.h"

#include <gtest/gtest.h>

#include "framework/ScopedWin.h"

void WriteRegString(HKEY hive, const std::string& keyPath, const std::string& name, const std::string& data) {
    ScopedRegKey key;
    LONG status = RegCreateKeyExA(hive, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(), nullptr);
    if (status != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create registry key " << keyPath << " (error " << status << ")";
        return;
    }
    status = RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>(data.size() + 1));
    if (status != ERROR_SUCCESS) ADD_FAILURE() << "cannot write registry value " << keyPath << "\\" << name;
}

static void RemoveJavaSoft() {
    // This 32-bit process sees the 32-bit view, the one the launcher reads.
    for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        LONG status = RegDeleteTreeA(hive, "SOFTWARE\\JavaSoft");
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
            ADD_FAILURE() << "cannot remove SOFTWARE\\JavaSoft (error " << status << ")";
    }
}

JavaSoftRegistryGuard::JavaSoftRegistryGuard() { RemoveJavaSoft(); }
JavaSoftRegistryGuard::~JavaSoftRegistryGuard() { RemoveJavaSoft(); }
