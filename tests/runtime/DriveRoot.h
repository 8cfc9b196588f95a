#pragma once
// Stages a file at the root of drive C: (the private prefix's drive_c) and
// makes C:\ the current directory, so a test can show that an empty home
// never reaches "\bin\javaw.exe" or "\lib\*.jar" of the current drive. The
// file, the folders made for it and the current directory are restored.
#include <string>
#include <vector>

class DriveRootFile {
public:
    explicit DriveRootFile(const std::string& relativePath);  // e.g. "bin\\javaw.exe"
    ~DriveRootFile();
    DriveRootFile(const DriveRootFile&) = delete;
    DriveRootFile& operator=(const DriveRootFile&) = delete;

private:
    std::string m_file;
    std::vector<std::string> m_madeFolders;
    std::string m_savedDir;
};
