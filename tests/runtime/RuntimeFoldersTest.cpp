// The folder and PATH sources on temp folders standing in for the user's:
// the variables they start from point into the test's own folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/Globals.h"
#include "runtime/RegistryLookup.h"
#include "runtime/RuntimeFolders.h"
#include "tests/support/Files.h"
#include "tests/support/Registry.h"
#include "tests/support/Paths.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScratchRegistry.h"

namespace {

class RuntimeFoldersTest : public testing::Test {
protected:
    void SetUp() override {
        m_root = MakeTempFolder("runtime-folders");
        IsolateRuntimeFolders(m_environment, m_root);
    }
    std::string m_root;
    ScopedEnvironment m_environment;
};

TEST_F(RuntimeFoldersTest, EveryFolderLayoutNamesItsHomeAndItsSource) {
    struct Case {
        const char* variable;
        const char* home;    // below the variable's folder
        const char* source;  // "" = not a home
    };
    const Case cases[] = {
        {"ProgramFiles", "Java\\jre1.8.0_265", "%ProgramFiles%\\Java\\*"},
        {"ProgramFiles", "Eclipse Adoptium\\jdk-21.0.2.13-hotspot", "%ProgramFiles%\\Eclipse Adoptium\\*"},
        {"ProgramFiles", "Microsoft\\jdk-17.0.10.7-hotspot", "%ProgramFiles%\\Microsoft\\jdk-*"},
        {"ProgramFiles", "Microsoft\\Edge", ""},
        {"ProgramFiles(x86)", "Zulu\\zulu-8", "%ProgramFiles(x86)%\\Zulu\\*"},
        {"ProgramW6432", "SapMachine\\JRE\\17", "%ProgramW6432%\\SapMachine\\JRE\\*"},
        {"ProgramW6432", "Amazon Corretto\\jdk1.8.0_402", "%ProgramW6432%\\Amazon Corretto\\*"},
        {"LOCALAPPDATA", "Programs\\Eclipse Adoptium\\jdk-17", "%LOCALAPPDATA%\\Programs\\Eclipse Adoptium\\*"},
        {"USERPROFILE", ".jdks\\corretto-21", "%USERPROFILE%\\.jdks\\*"},
        {"USERPROFILE", "scoop\\apps\\temurin17-jdk\\current", "%USERPROFILE%\\scoop\\apps\\*\\current"},
        {"ProgramData", "scoop\\apps\\openjdk\\current", "%ProgramData%\\scoop\\apps\\*\\current"},
        {"USERPROFILE", ".jabba\\jdk\\zulu@1.17", "%USERPROFILE%\\.jabba\\jdk\\*"},
    };
    for (const Case& c : cases) {
        std::string home = m_root + c.variable + "\\" + c.home;
        MakeEmptyFile(home + (c.source[0] ? "\\bin\\java.exe" : "\\bin\\msedge.exe"));
    }
    Array<FoundHome> found;
    GatherFolderHomes(found);
    for (const Case& c : cases) {
        std::string home = m_root + c.variable + "\\" + c.home;
        std::string source = "<not found>";
        for (const FoundHome& f : found)
            if (home == f.home.GetString()) source = f.source.GetString();
        EXPECT_EQ(c.source[0] ? c.source : "<not found>", source) << home;
    }
    EXPECT_EQ(11u, found.size());
}

TEST_F(RuntimeFoldersTest, AJavawOnAnAbsolutePathEntryNamesTheHomeOfItsBinFolderOrOfTheJavapathLink) {
    RuntimeRegistryGuard registry;
    std::string home = m_root + "tools\\jdk-21";
    MakeEmptyFile(home + "\\bin\\javaw.exe");
    MakeEmptyFile(m_root + "other\\javaw.exe");
    // Oracle's javapath: a link to the current runtime's program, or a copy
    // of a launcher that starts the registry's current version.
    std::string target = m_root + "jre8";
    MakeEmptyFile(target + "\\bin\\javaw.exe");
    std::string links = m_root + "Common Files\\Oracle\\Java\\javapath";
    CreateFolders(links);
    // Wine 8 reports success and makes no link; Windows makes one.
    bool linked = CreateSymbolicLinkA((links + "\\javaw.exe").c_str(), (target + "\\bin\\javaw.exe").c_str(), 0) &&
                  FileExists(links + "\\javaw.exe");
    if (!linked) std::printf("note: no symbolic link made here, the javapath link case is left out\n");
    std::string current = m_root + "jre7";
    std::string copies = m_root + "ProgramData\\Oracle\\Java\\javapath";
    MakeEmptyFile(copies + "\\javaw.exe");
    WriteRegString(HKEY_LOCAL_MACHINE, kRuntimeRegistryKey, "CurrentVersion", "1.7");
    WriteRegString(HKEY_LOCAL_MACHINE, std::string(kRuntimeRegistryKey) + "\\1.7", "JavaHome", current);
    // Relative entries, resolved against the working folder: skipped.
    MakeEmptyFile(m_root + "rel\\bin\\javaw.exe");
    std::string path = m_root + "missing;\"" + home + "\\bin\\\";" + m_root + "other;" + links + ";" + copies +
                       ";rel\\bin;" + m_root.substr(2) + "rel\\bin";
    m_environment.Set("PATH", path.c_str());
    char workingFolder[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, workingFolder), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(m_root.c_str()));
    Array<FoundHome> found;
    GatherPathHomes(found);
    SetCurrentDirectoryA(workingFolder);
    std::vector<std::string> gathered;
    for (const FoundHome& f : found) gathered.push_back(std::string(f.home.GetString()) + " | " + f.source.GetString());
    std::vector<std::string> expected = {home + " | PATH " + home + "\\bin", current + " | PATH " + copies};
    if (linked) expected.insert(expected.begin() + 1, target + " | PATH " + links);
    EXPECT_EQ(expected, gathered);
}

// Stands for a share whose server does not answer until the test lets it.
HANDLE g_shareAnswers = nullptr;
CString SlowShareLookup(const CString& path) {
    WaitForSingleObject(g_shareAnswers, INFINITE);
    return path + "\\javaw.exe";
}

TEST_F(RuntimeFoldersTest, ALookupOnAShareIsGivenUpWhenItOutlastsWhatIsLeftOfTheProbeBudget) {
    g_shareAnswers = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(g_shareAnswers, nullptr);
    CString answer;
    g_probeTimeLeftMs = 200;
    EXPECT_FALSE(LookUpWithinProbeBudget(SlowShareLookup, "\\\\server\\bin", &answer));
    EXPECT_LT(g_probeTimeLeftMs, 200u) << "the wait was not spent";
    g_probeTimeLeftMs = 0;
    EXPECT_FALSE(LookUpWithinProbeBudget(SlowShareLookup, "\\\\server\\bin", &answer));
    EXPECT_TRUE(answer.IsEmpty());
    // A share that answers in time.
    SetEvent(g_shareAnswers);
    g_probeTimeLeftMs = INFINITE;
    EXPECT_TRUE(LookUpWithinProbeBudget(SlowShareLookup, "\\\\server\\bin", &answer));
    EXPECT_STREQ("\\\\server\\bin\\javaw.exe", answer.GetString());
    // The given-up lookups end now and let go of their state themselves; the
    // event stays, as they may still be reading it.
}

}  // namespace
