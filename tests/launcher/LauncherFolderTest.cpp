#include "launcher/LauncherFolder.h"

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
    EXPECT_STREQ(buffer + index + 1, "launcher_tests.exe");
}
