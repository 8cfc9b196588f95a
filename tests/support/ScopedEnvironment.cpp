#include "tests/support/ScopedEnvironment.h"

#include <windows.h>

#include "tests/support/Files.h"

ScopedEnvironment::~ScopedEnvironment() {
    // Backwards, so a variable set twice ends as it was before the first.
    for (size_t i = m_saved.size(); i-- > 0;)
        SetEnvironmentVariableA(m_saved[i].name.c_str(), m_saved[i].wasSet ? m_saved[i].value.c_str() : nullptr);
}

void ScopedEnvironment::Set(const char* name, const char* value) {
    std::vector<char> buffer(32768, '\0');
    DWORD length = GetEnvironmentVariableA(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    Saved saved = {name, length > 0 && length < buffer.size(), std::string(buffer.data())};
    m_saved.push_back(saved);
    SetEnvironmentVariableA(name, value);
}

void IsolateRuntimeFolders(ScopedEnvironment& environment, const std::string& root) {
    for (const char* name : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432", "LOCALAPPDATA", "USERPROFILE",
                             "ProgramData", "PATH"}) {
        std::string folder = root + name;
        CreateFolders(folder);
        environment.Set(name, folder.c_str());
    }
}
