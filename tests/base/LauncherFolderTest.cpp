#include "base/LauncherFolder.h"

#include <cstring>
#include <string>

#include <windows.h>

#include <gtest/gtest.h>

TEST(LauncherFolderTest, GivesTheProgramsOwnPathAndTheIndexOfItsLastBackslash) {
    char expected[MAX_PATH];
    GetModuleFileNameA(nullptr, expected, MAX_PATH);
    char buffer[MAX_PATH];
    int index = GetLauncherFolder(buffer);
    EXPECT_STREQ(buffer, expected);
    ASSERT_GT(index, 0);
    EXPECT_EQ(buffer[index], '\\');
    EXPECT_EQ(std::strchr(buffer + index + 1, '\\'), nullptr);
    EXPECT_STREQ(buffer + index + 1, "base_tests.exe");
}

TEST(LauncherFolderTest, APathCutAtTheBufferSizeOrNoPathAtAllGivesNoFolder) {
    // What GetModuleFileNameA leaves for a launcher started from a path
    // longer than MAX_PATH: the first 259 characters, cut inside a folder
    // name, and the buffer size as its result.
    std::string cut = "C:\\" + std::string(120, 'a') + "\\" + std::string(135, 'b');
    ASSERT_EQ(cut.size(), static_cast<size_t>(MAX_PATH - 1));
    char buffer[MAX_PATH];
    std::memcpy(buffer, cut.c_str(), MAX_PATH);
    EXPECT_EQ(LauncherFolderIndex(buffer, MAX_PATH), -1);
    EXPECT_STREQ(buffer, "");

    std::memcpy(buffer, cut.c_str(), MAX_PATH);
    EXPECT_EQ(LauncherFolderIndex(buffer, 0), -1);
    EXPECT_STREQ(buffer, "");

    // The longest path that fits is taken whole.
    std::memcpy(buffer, cut.c_str(), MAX_PATH);
    EXPECT_EQ(LauncherFolderIndex(buffer, MAX_PATH - 1), 123);
    EXPECT_EQ(std::string(buffer), cut);

    std::strcpy(buffer, "tool.exe");
    EXPECT_EQ(LauncherFolderIndex(buffer, 8), -1);
    EXPECT_STREQ(buffer, "tool.exe");
}
