#include "tests/support/ScratchRegistry.h"

#include <gtest/gtest.h>

namespace {

const char kScratchRoot[] = "Software\\jarstart-tests\\runtime";

}  // namespace

ScratchRegistry::ScratchRegistry() : m_ready(false), m_machine(nullptr), m_user(nullptr) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
    std::string root = kScratchRoot;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, (root + "\\machine").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &m_machine, nullptr) != ERROR_SUCCESS ||
        RegCreateKeyExA(HKEY_CURRENT_USER, (root + "\\user").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &m_user, nullptr) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create the scratch registry keys";
        return;
    }
    LONG machine = RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_machine);
    LONG user = RegOverridePredefKey(HKEY_CURRENT_USER, m_user);
    m_ready = machine == ERROR_SUCCESS && user == ERROR_SUCCESS;
    if (!m_ready) ADD_FAILURE() << "RegOverridePredefKey failed: " << machine << " " << user;
}

ScratchRegistry::~ScratchRegistry() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (m_machine) RegCloseKey(m_machine);
    if (m_user) RegCloseKey(m_user);
    RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
}

void ScratchRegistry::CreateKey(HKEY hive, const std::string& keyPath) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(Scratch(hive), keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr))
        << keyPath;
    RegCloseKey(key);
}

void ScratchRegistry::WriteValue(HKEY hive, const std::string& keyPath, const char* name, DWORD type,
                                 const std::string& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(Scratch(hive), keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr))
        << keyPath;
    LONG written = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                  static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, written) << keyPath << " " << name;
}

void ScratchRegistry::WriteString(HKEY hive, const std::string& keyPath, const char* name, const std::string& data) {
    WriteValue(hive, keyPath, name, REG_SZ, std::string(data.c_str(), data.size() + 1));
}

void MakeEmptyFile(const std::string& path) {
    for (size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1))
        CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    CloseHandle(file);
}
