#include "tests/runtime/DriveRoot.h"

#include <gtest/gtest.h>
#include <windows.h>

DriveRootFile::DriveRootFile(const std::string& relativePath) : m_file("C:\\" + relativePath) {
    char dir[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, dir);
    m_savedDir = dir;
    for (size_t slash = m_file.find('\\', 3); slash != std::string::npos; slash = m_file.find('\\', slash + 1)) {
        std::string folder = m_file.substr(0, slash);
        if (CreateDirectoryA(folder.c_str(), nullptr)) m_madeFolders.push_back(folder);
    }
    HANDLE file = CreateFileA(m_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot stage " << m_file;
        m_file.clear();
    } else {
        CloseHandle(file);
    }
    SetCurrentDirectoryA("C:\\");
}

DriveRootFile::~DriveRootFile() {
    SetCurrentDirectoryA(m_savedDir.c_str());
    if (!m_file.empty()) DeleteFileA(m_file.c_str());
    for (auto folder = m_madeFolders.rbegin(); folder != m_madeFolders.rend(); ++folder)
        RemoveDirectoryA(folder->c_str());
}
