#include "tests/support/Paths.h"

#include <windows.h>
#include <shellapi.h>

#include "tests/support/FakeRuntime.h"

std::string BuildDir() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    s.erase(s.find_last_of('\\'));  // the tests folder
    s.erase(s.find_last_of('\\') + 1);
    return s;
}

static void RemoveTree(const std::string& folder) {
    std::string from = folder;
    if (!from.empty() && from.back() == '\\') from.pop_back();
    from.push_back('\0');  // SHFileOperation wants a double-NUL list
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&op);
}

std::string MakeTempFolder(const std::string& name) {
    std::string tmp = BuildDir() + "tmp\\";
    CreateDirectoryA(tmp.c_str(), nullptr);
    std::string folder = tmp + name + "\\";
    // A stand-in left running by an interrupted earlier run would keep its
    // program file, and the copy of a new one over it would fail.
    EndStandIns(folder);
    RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}
