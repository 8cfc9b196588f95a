#include "base/PathExists.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/Paths.h"

TEST(PathExistsTest, FilesFoldersAndDriveRootsExistButNotTrailingBackslashesWildcardsOrEmpty) {
    std::string folder = MakeTempFolder("path-exists");
    std::string file = folder + "javaw.exe";
    FILE* f = std::fopen(file.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    std::string folderNoSlash = folder.substr(0, folder.size() - 1);
    std::string drive = folder.substr(0, 3);  // "X:\"

    const struct {
        std::string path;
        bool expected;
    } cases[] = {
        {file, true},
        {folderNoSlash, true},
        {drive, true},
        {folder, false},  // trailing backslash, not a drive root
        {folder + "java?.exe", false},
        {folder + "*.exe", false},
        {folder + "missing.exe", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(PathExists(c.path.c_str()), c.expected) << "[" << c.path << "]";
    EXPECT_FALSE(PathExists(nullptr));
}
