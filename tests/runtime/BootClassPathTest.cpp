// The boot class path lists the jars of g_runtimeHome's lib folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "base/Globals.h"
#include "runtime/BootClassPath.h"
#include "tests/runtime/DriveRoot.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/Paths.h"

namespace {

class BootClassPathTest : public testing::Test {
protected:
    void SetUp() override {
        m_folder = MakeTempFolder("boot-class-path");
        m_savedHome = g_runtimeHome;
    }
    void TearDown() override { g_runtimeHome = m_savedHome; }

    // Builds the path with the log captured; returns the log entries.
    std::vector<std::string> Build(CString& classPath) {
        LogCapture capture;
        classPath = BuildBootClassPath();
        return capture.Entries();
    }

    std::string m_folder;
    CString m_savedHome;
};

// The names a wildcard listing of the folder gives, in its order.
std::vector<std::string> ListJars(const std::string& lib) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((lib + "\\*.jar").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(entry.cFileName);
    while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

TEST_F(BootClassPathTest, QuotesOneJarOfTheRuntimeHome) {
    g_runtimeHome = "C:\\J";
    EXPECT_STREQ("\"C:\\J\\lib\\a.jar\"", QuoteLibJar("a.jar"));
}

TEST_F(BootClassPathTest, ListsEveryJarQuotedAndJoinedInListingOrderKeepingTheParentStep) {
    std::string home = m_folder + "app\\..\\jre";
    CreateDirectoryA((m_folder + "app").c_str(), nullptr);
    for (const char* name : {"rt.jar", "tools.jar", "b.jar", "x y.jar"}) MakeEmptyFile(m_folder + "jre\\lib\\" + name);
    MakeEmptyFile(m_folder + "jre\\lib\\readme.txt");
    CreateDirectoryA((m_folder + "jre\\lib\\classes.jar").c_str(), nullptr);
    g_runtimeHome = home.c_str();

    CString classPath;
    std::vector<std::string> log = Build(classPath);

    std::vector<std::string> names = ListJars(m_folder + "jre\\lib");
    ASSERT_EQ(5u, names.size()) << "four jars and a folder named like one";
    std::string expected;
    for (const std::string& name : names) {
        if (!expected.empty()) expected += ";";
        expected += "\"" + home + "\\lib\\" + name + "\"";
    }
    EXPECT_EQ(expected, classPath.GetString());
    EXPECT_EQ((std::vector<std::string>{"JDK PATH...", home, expected}), log);
}

TEST_F(BootClassPathTest, OneJarGivesOneEntryWithoutASemicolon) {
    MakeEmptyFile(m_folder + "kit\\lib\\tools.jar");
    g_runtimeHome = (m_folder + "kit").c_str();
    CString classPath;
    Build(classPath);
    EXPECT_EQ("\"" + m_folder + "kit\\lib\\tools.jar\"", classPath.GetString());
}

TEST_F(BootClassPathTest, LibFolderWithoutJarsGivesNothingAndLogsOnlyTheHome) {
    MakeEmptyFile(m_folder + "kit\\lib\\readme.txt");
    g_runtimeHome = (m_folder + "kit").c_str();
    CString classPath;
    std::vector<std::string> log = Build(classPath);
    EXPECT_STREQ("", classPath);
    EXPECT_EQ((std::vector<std::string>{"JDK PATH...", m_folder + "kit"}), log);
}

TEST_F(BootClassPathTest, MissingLibFolderGivesNothing) {
    g_runtimeHome = (m_folder + "nowhere").c_str();
    CString classPath;
    Build(classPath);
    EXPECT_STREQ("", classPath);
}

TEST_F(BootClassPathTest, EmptyRuntimeHomeListsNothingAtTheDriveRoot) {
    DriveRootFile jarAtRoot("lib\\jarstart-stray.jar");
    g_runtimeHome = "";
    CString classPath;
    std::vector<std::string> log = Build(classPath);
    EXPECT_STREQ("", classPath);
    EXPECT_EQ((std::vector<std::string>{"JDK PATH...", ""}), log);
}

}  // namespace
