// The launcher as built: what a user's machine needs to run it.
#include <windows.h>

#include <algorithm>
#include <cctype>

#include <gtest/gtest.h>

#include "tests/support/Paths.h"
#include "tools/jarstart-tool/FileBytes.h"
#include "tools/jarstart-tool/PeImage.h"

namespace {
std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}
}  // namespace

// Both launchers, each with the subsystem it is started in.
const struct {
    const char* file;
    unsigned subsystem;
} kLaunchers[] = {{"jarstart.exe", 2u}, {"jarstart-console.exe", 3u}};  // IMAGE_SUBSYSTEM_WINDOWS_GUI / _CUI

TEST(LauncherExeTest, IsAPeExecutableOfItsSubsystemForThisBuildsMachine) {
#ifdef _WIN64
    const unsigned magic = 0x20b, machine = 0x8664;  // PE32+, AMD64: build/x64
#else
    const unsigned magic = 0x10b, machine = 0x14c;  // PE32, I386: build/
#endif
    for (const auto& launcher : kLaunchers) {
        std::string bytes;
        DWORD error = 0;
        ASSERT_TRUE(ReadFileBytes(BuildDir() + launcher.file, &bytes, &error)) << launcher.file << " " << error;
        PeHeaders headers;
        ASSERT_TRUE(ReadPeHeaders(bytes, &headers)) << launcher.file;
        EXPECT_EQ(headers.magic, magic) << launcher.file;
        EXPECT_EQ(headers.subsystem, launcher.subsystem) << launcher.file;
        EXPECT_EQ(headers.machine, machine) << launcher.file;
    }
}

TEST(LauncherExeTest, ImportsOnlyDllsEveryWindowsHas) {
    const char* system[] = {"kernel32.dll", "user32.dll", "gdi32.dll",  "advapi32.dll", "shell32.dll",
                            "ole32.dll",    "oleaut32.dll", "comctl32.dll", "msvcrt.dll",   "comdlg32.dll",
                            "shlwapi.dll",  "version.dll"};
    for (const auto& launcher : kLaunchers) {
        std::string bytes;
        DWORD error = 0;
        ASSERT_TRUE(ReadFileBytes(BuildDir() + launcher.file, &bytes, &error)) << launcher.file << " " << error;
        std::vector<std::string> dlls;
        ASSERT_TRUE(ReadImportedDlls(bytes, &dlls)) << launcher.file;
        bool kernel = false;
        for (const std::string& dll : dlls) {
            std::string name = Lower(dll);
            kernel = kernel || name == "kernel32.dll";
            EXPECT_NE(std::find(std::begin(system), std::end(system), name), std::end(system)) << launcher.file << " " << dll;
        }
        EXPECT_TRUE(kernel) << launcher.file;
    }
}

TEST(LauncherExeTest, TheCompanionToolIsAConsoleProgram) {
    std::string bytes;
    DWORD error = 0;
    ASSERT_TRUE(ReadFileBytes(BuildDir() + "jarstart-tool.exe", &bytes, &error)) << error;
    PeHeaders headers;
    ASSERT_TRUE(ReadPeHeaders(bytes, &headers));
    EXPECT_EQ(headers.subsystem, 3u);  // IMAGE_SUBSYSTEM_WINDOWS_CUI
}

TEST(LauncherExeTest, HeadersOfDamagedOrForeignFilesAreRejected) {
    std::string bytes;
    DWORD error = 0;
    ASSERT_TRUE(ReadFileBytes(BuildDir() + "jarstart.exe", &bytes, &error)) << error;
    PeHeaders headers;
    std::vector<std::string> dlls;
    EXPECT_FALSE(ReadPeHeaders("", &headers));
    EXPECT_FALSE(ReadPeHeaders("#!/bin/sh\necho hello\n", &headers));
    for (size_t cut : {2u, 63u, 64u, 200u}) {
        EXPECT_FALSE(ReadPeHeaders(bytes.substr(0, cut), &headers)) << cut;
        EXPECT_FALSE(ReadImportedDlls(bytes.substr(0, cut), &dlls)) << cut;
    }
    std::string wrongSignature = bytes;
    unsigned peOffset = static_cast<unsigned char>(bytes[0x3C]) | (static_cast<unsigned char>(bytes[0x3D]) << 8);
    wrongSignature[peOffset] = 'X';
    EXPECT_FALSE(ReadPeHeaders(wrongSignature, &headers));
}
