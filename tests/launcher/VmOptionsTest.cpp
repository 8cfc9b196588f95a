#include "launcher/VmOptions.h"

#include <share.h>

#include <cstdio>
#include <string>

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/Paths.h"

namespace {

void WriteBytes(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// Joins the lines of a file holding exactly these bytes, read in text mode.
std::string JoinFileBytes(const std::string& bytes) {
    std::string path = MakeTempFolder("vmoptions-join") + "options.vmoptions";
    WriteBytes(path, bytes);
    FILE* file = _fsopen(path.c_str(), "r", _SH_DENYNO);
    if (!file) return "<cannot open>";
    CString joined = ReadVmOptionLines(file);
    std::fclose(file);
    return std::string(joined);
}

std::string Repeat(char c, int count) {
    return std::string(static_cast<size_t>(count), c);
}

std::string OwnPath() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

}  // namespace

TEST(VmOptionsTest, EachLineIsFollowedByOneBlankAndTheLastFailingReadCountsToo) {
    const struct {
        const char* name;
        std::string bytes;
        std::string expected;
    } cases[] = {
        {"CR LF after every line", "A\r\nB\r\n", "A B  "},
        {"LF after every line", "A\nB\n", "A B  "},
        {"no line end after the last line", "A\r\nB", "A B "},
        {"empty file", "", " "},
        {"a single line feed", "\n", "  "},
        {"blank line in the middle", "A\n\nB", "A  B "},
        {"blanks inside lines are kept", "  -Xmx256m  \n-Dx=\"a b\"", "  -Xmx256m   -Dx=\"a b\" "},
        {"no escapes", "\\t", "\\t "},
        {"a comment line is left out, blank and all", "# memory settings\n-Xmx1g\n", "-Xmx1g  "},
        {"a comment after blanks and tabs", "-Xmx1g\r\n  \t# later\r\n-Dx=1", "-Xmx1g -Dx=1 "},
        {"a last comment line without a line end", "-Xmx1g\n# end", "-Xmx1g "},
        {"a comment after a byte order mark", "\xEF\xBB\xBF# utf-8\n-Xmx1g\n", "-Xmx1g  "},
        {"only comments", "# a\n# b", ""},
        {"a # inside a line is kept", "-Dx=a#b\n", "-Dx=a#b  "},
        {"blank lines between comments still count", "# a\n\n# b\n-X", " -X "},
        {"tab kept", "a\tb", "a\tb "},
    };
    for (const auto& c : cases) EXPECT_EQ(JoinFileBytes(c.bytes), c.expected) << c.name;
}

TEST(VmOptionsTest, ALineOf4095CharactersIsReadWholeAndReadingGoesOn) {
    std::string line = Repeat('x', 4095);
    EXPECT_EQ(JoinFileBytes(line + "\nB\n"), line + " B  ");
    EXPECT_EQ(JoinFileBytes(line + "\r\nB"), line + " B ");
    EXPECT_EQ(JoinFileBytes(line), line + " ");
}

TEST(VmOptionsTest, ALineOf4096CharactersEndsTheReadingAfterIts4095th) {
    std::string kept = Repeat('y', 4095);
    EXPECT_EQ(JoinFileBytes("A\n" + kept + "Z\nB\nC\n"), "A " + kept + " ");
    EXPECT_EQ(JoinFileBytes(kept + "Z"), kept + " ");
    EXPECT_EQ(JoinFileBytes(kept + Repeat('z', 5000) + "\nB"), kept + " ");
}

TEST(VmOptionsTest, TheFileBesideTheProgramWithItsExtensionKeptIsRead) {
    // This test program stands in for the launcher: LoadVmOptions looks for
    // its own path with ".vmoptions" appended.
    std::string path = OwnPath() + ".vmoptions";
    WriteBytes(path, "-Xmx256m\r\n-Dfrom=file\r\n");
    CString options = LoadVmOptions();
    DeleteFileA(path.c_str());
    EXPECT_STREQ(options, "-Xmx256m -Dfrom=file  ");
}

TEST(VmOptionsTest, WithoutTheFileThePropertyIsUsedExactlyAsStored) {
    std::string own = OwnPath();
    std::string replaced = own.substr(0, own.size() - 4) + ".vmoptions";  // launcher_tests.vmoptions
    DeleteFileA((own + ".vmoptions").c_str());
    WriteBytes(replaced, "-Dnot=used\n");
    CString options = LoadVmOptions();
    DeleteFileA(replaced.c_str());
    EXPECT_STREQ(options, "-Xfallback-from-resources ");
}

TEST(VmOptionsTest, AnEmptyFileGivesOneBlankAndThePropertyIsNotUsed) {
    std::string path = OwnPath() + ".vmoptions";
    WriteBytes(path, "");
    CString options = LoadVmOptions();
    DeleteFileA(path.c_str());
    EXPECT_STREQ(options, " ");
}

TEST(VmOptionsTest, AFileHeldOpenForWritingByAnotherProgramIsStillRead) {
    std::string path = OwnPath() + ".vmoptions";
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(writer, "-Dshared=yes", 12, &written, nullptr);
    CString options = LoadVmOptions();
    CloseHandle(writer);
    DeleteFileA(path.c_str());
    EXPECT_STREQ(options, "-Dshared=yes ");
}

TEST(VmOptionsTest, AFileInTheSystemsAnsiCodePageOrInUtf8IsReadInTheLaunchersCodePage) {
    // This program has no UTF-8 manifest: its own code page is the system's
    // 1252, so a UTF-8 file's text comes out in 1252 here (and stays UTF-8 in
    // the launcher, tests/unicode).
    const struct { const char* file; const char* expected; } cases[] = {
        {"-Duser.name=Jos\xE9", "-Duser.name=Jos\xE9"},                // saved in 1252
        {"-Duser.name=Jos\xC3\xA9", "-Duser.name=Jos\xE9"},            // saved as UTF-8
        {"\xEF\xBB\xBF-Xmx1g -Da=\xC3\xA9", "-Xmx1g -Da=\xE9"},         // with a byte order mark
        {"-Xmx1g", "-Xmx1g"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_STREQ(c.expected, VmOptionsInOwnCodePage(c.file)) << c.file;
}
