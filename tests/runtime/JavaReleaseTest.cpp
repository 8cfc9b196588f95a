// Reading a runtime home's release file and telling a Java 9+ home.
#include <gtest/gtest.h>

#include <string>

#include "runtime/JavaRelease.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/Paths.h"

namespace {

TEST(JavaReleaseTest, ReleaseTextGivesTheJavaVersionWithoutQuotes) {
    struct Case {
        const char* text;
        const char* version;
    };
    const Case cases[] = {
        {"IMPLEMENTOR=\"Vendor\"\nJAVA_VERSION=\"17.0.5\"\nOS_NAME=\"Windows\"\n", "17.0.5"},
        {"JAVA_VERSION=\"11.0.2\"\r\nMODULES=\"java.base\"\r\n", "11.0.2"},
        {"JAVA_VERSION=21", "21"},
        {"JAVA_VERSION_DATE=\"2022-10-18\"\nJAVA_VERSION=\"19\"\n", "19"},
        {"OS_ARCH=\"x86\"\n", ""},
        {" JAVA_VERSION=\"17\"\n", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(std::string(c.version), ParseReleaseVersion(c.text).GetString()) << c.text;
}

TEST(JavaReleaseTest, TrailingBackslashIsDroppedOnce) {
    EXPECT_STREQ("C:\\jdk", WithoutTrailingBackslash("C:\\jdk\\").GetString());
    EXPECT_STREQ("C:\\jdk", WithoutTrailingBackslash("C:\\jdk").GetString());
    EXPECT_STREQ("", WithoutTrailingBackslash("").GetString());
}

TEST(JavaReleaseTest, HomeIsJava9OrLaterByItsReleaseFileOrItsJmodsFolder) {
    std::string folder = MakeTempFolder("java-release");
    auto writeRelease = [](const std::string& home, const std::string& text) {
        MakeEmptyFile(home + "\\release");
        HANDLE file = CreateFileA((home + "\\release").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    };
    writeRelease(folder + "java17", "JAVA_VERSION=\"17.0.5\"\n");
    writeRelease(folder + "java9", "JAVA_VERSION=\"9\"\n");
    writeRelease(folder + "java8", "JAVA_VERSION=\"1.8.0_352\"\n");
    MakeEmptyFile(folder + "modular\\jmods\\java.base.jmod");
    MakeEmptyFile(folder + "plain\\lib\\tools.jar");

    EXPECT_STREQ("17.0.5", ReadReleaseVersion((folder + "java17").c_str()).GetString());
    EXPECT_STREQ("17.0.5", ReadReleaseVersion((folder + "java17\\").c_str()).GetString());
    EXPECT_TRUE(IsJava9OrLaterHome((folder + "java17").c_str()));
    EXPECT_TRUE(IsJava9OrLaterHome((folder + "java9\\").c_str()));
    EXPECT_FALSE(IsJava9OrLaterHome((folder + "java8").c_str()));
    EXPECT_TRUE(IsJava9OrLaterHome((folder + "modular").c_str()));
    EXPECT_FALSE(IsJava9OrLaterHome((folder + "plain").c_str()));
    EXPECT_FALSE(IsJava9OrLaterHome((folder + "missing").c_str()));
    EXPECT_FALSE(IsJava9OrLaterHome(""));
}

}  // namespace
