#include "tests/support/Registry.h"

#include <gtest/gtest.h>

#include "framework/ScopedWin.h"

void WriteRegString(HKEY hive, const std::string& keyPath, const std::string& name, const std::string& data,
                    REGSAM view) {
    ScopedRegKey key;
    LONG status =
        RegCreateKeyExA(hive, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, key.Receive(), nullptr);
    if (status != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create registry key " << keyPath << " (error " << status << ")";
        return;
    }
    status = RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>(data.size() + 1));
    if (status != ERROR_SUCCESS) ADD_FAILURE() << "cannot write registry value " << keyPath << "\\" << name;
}

static void RemoveJavaSoft() {
    // This process sees its own view, the one the launcher of its build reads.
    for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        LONG status = RegDeleteTreeA(hive, "SOFTWARE\\JavaSoft");
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
            ADD_FAILURE() << "cannot remove SOFTWARE\\JavaSoft (error " << status << ")";
    }
}

JavaSoftRegistryGuard::JavaSoftRegistryGuard() { RemoveJavaSoft(); }
JavaSoftRegistryGuard::~JavaSoftRegistryGuard() { RemoveJavaSoft(); }

// RegDeleteTreeA knows no view: empty the key through a handle opened in the
// view, then remove the key itself there.
static LONG DeleteKeyTree(HKEY hive, const char* path, REGSAM view) {
    HKEY key = nullptr;
    LONG status = RegOpenKeyExA(hive, path, 0, KEY_ALL_ACCESS | view, &key);
    if (status != ERROR_SUCCESS) return status;
    status = RegDeleteTreeA(key, nullptr);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return status;
    return RegDeleteKeyExA(hive, path, view, 0);
}

static void RemoveRuntimeKeys() {
    // Only the keys runtimes write: never all of SOFTWARE\Microsoft.
    static const char* const kKeys[] = {
        "SOFTWARE\\JavaSoft",      "SOFTWARE\\Eclipse Adoptium", "SOFTWARE\\AdoptOpenJDK",
        "SOFTWARE\\Microsoft\\JDK", "SOFTWARE\\Microsoft\\JRE",    "SOFTWARE\\Azul Systems",
        "SOFTWARE\\Eclipse Foundation", "SOFTWARE\\Semeru", "SOFTWARE\\SapMachine", "SOFTWARE\\BellSoft",
    };
    for (REGSAM view : {static_cast<REGSAM>(KEY_WOW64_32KEY), static_cast<REGSAM>(KEY_WOW64_64KEY)}) {
        for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            for (const char* path : kKeys) {
                LONG status = DeleteKeyTree(hive, path, view);
                if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
                    ADD_FAILURE() << "cannot remove " << path << " (error " << status << ")";
            }
        }
    }
}

RuntimeRegistryGuard::RuntimeRegistryGuard() { RemoveRuntimeKeys(); }
RuntimeRegistryGuard::~RuntimeRegistryGuard() { RemoveRuntimeKeys(); }
