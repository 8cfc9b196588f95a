#pragma once
// Redirects HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER of this process to two
// fresh scratch keys (RegOverridePredefKey), so in-process lookups read only
// what a test wrote, and nothing of the prefix's own registry is touched.
#include <windows.h>

#include <string>

class ScratchRegistry {
public:
    ScratchRegistry();
    ~ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    bool IsReady() const { return m_ready; }
    // Writes hive\keyPath value name = data (REG_SZ) into the scratch key
    // standing in for hive, creating keys on the way.
    void WriteString(HKEY hive, const std::string& keyPath, const char* name, const std::string& data);
    void WriteValue(HKEY hive, const std::string& keyPath, const char* name, DWORD type, const std::string& bytes);
    void CreateKey(HKEY hive, const std::string& keyPath);

private:
    HKEY Scratch(HKEY hive) const { return hive == HKEY_LOCAL_MACHINE ? m_machine : m_user; }

    bool m_ready;
    HKEY m_machine;
    HKEY m_user;
};

// Creates an empty file, and the folders on its way.
void MakeEmptyFile(const std::string& path);
