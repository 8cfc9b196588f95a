// Judging found homes without starting them where their files tell enough,
// and choosing between them, on fake homes in a temp folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "base/Globals.h"
#include "runtime/RuntimeCandidates.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Files.h"
#include "tests/support/Paths.h"

namespace {

TEST(RuntimeCandidatesTest, ReleaseFileKeyOrProbeTellTheVersionAndTheChoiceFollowsTheSettings) {
    struct Case {
        const char* name;
        const char* release;  // nullptr: no release file
        const char* keyVersion;
        int bits;  // of its java.exe; 0: this build's
        const char* version;
        const char* verdict;  // "" accepted
        bool fromFolder;      // found in an install folder, judged below the test's folder
        bool everyoneWrites;  // planted where any user may write
    };
    const int ownBits = sizeof(void*) * 8;
    const Case cases[] = {
        {"x86", "JAVA_VERSION=\"17.0.5\"\n", "", 32, "17.0.5", ""},
        {"quoted", "IMPLEMENTOR=\"Vendor\"\r\nJAVA_VERSION=\"17.0.5\"\r\n", "", 64, "17.0.5", ""},
        {"unquoted", "JAVA_VERSION=11.0.2\n", "9", 0, "11.0.2", ""},
        {"java8", "JAVA_VERSION=\"1.8.0_265\"\n", "", 0, "1.8.0_265", "below minimum"},
        {"newer", "JAVA_VERSION=\"21.0.2\"\n", "", 0, "21.0.2", "above maximum"},
        {"noversion", "IMPLEMENTOR=\"Vendor\"\n", "17", 0, "", "release file unreadable"},
        {"bykey", nullptr, "17.0.1", 0, "17.0.1", ""},
        {"byprobe", nullptr, "", 0, "15.0.2", ""},
        {"consoleonly", "JAVA_VERSION=\"17\"\n", "", 0, "17", "no javaw.exe"},
        // Another user's: the newest of all, were it accepted.
        {"planted", "JAVA_VERSION=\"99\"\n", "", 0, "99", "other users can change it", true, true},
        // A folder's program is never started to learn its version: a probe
        // would tell 15.0.2.
        {"unreleased", nullptr, "", 0, "", "no release file", true, false},
        {"installed", "JAVA_VERSION=\"11.0.22\"\n", "", 0, "11.0.22", "", true, false},
    };
    std::string folder = MakeTempFolder("runtime-candidates");
    Array<FoundHome> found;
    for (const Case& c : cases) {
        std::string home = folder + c.name;
        StandInBehaviour behaviour;
        behaviour.versionText = "openjdk version \"15.0.2\" 2021-01-19\n";
        MakeFakeRuntime(home, behaviour);
        if (c.release) WriteReleaseFile(home, c.release);
        if (c.bits) UseJavaExeOf(c.bits, home);
        if (std::string(c.verdict) == "no javaw.exe") DeleteFileA((home + "\\bin\\javaw.exe").c_str());
        if (c.everyoneWrites) {
            ASSERT_TRUE(LetEveryoneChange(home));
        }
        AddFoundHome(found, home.c_str(), c.keyVersion, c.name,
                     c.fromFolder ? folder.substr(0, folder.size() - 1).c_str() : "");
    }
    // The same home again, named otherwise: one candidate, two sources.
    AddFoundHome(found, (folder + "QUOTED\\").c_str(), "", "again");
    AddFoundHome(found, (folder + "gone").c_str(), "17", "stale key");

    g_javaExeName = "javaw.exe";
    g_minJavaVersion = "11";
    g_maxJavaVersion = "17";
    g_searchJdkOnly = 0;
    Array<RuntimeCandidate> candidates = JudgeFoundHomes(found);
    ASSERT_EQ(sizeof(cases) / sizeof(cases[0]), candidates.size());
    for (size_t i = 0; i < candidates.size(); ++i) {
        const Case& c = cases[i];
        EXPECT_STREQ(c.version, candidates[i].version.GetString()) << c.name;
        EXPECT_STREQ(c.verdict, RejectionReason(candidates[i]).GetString()) << c.name;
        EXPECT_EQ(c.bits ? c.bits : ownBits, candidates[i].bits) << c.name;
    }
    EXPECT_STREQ("Vendor", candidates[1].vendor.GetString());
    EXPECT_EQ(2u, candidates[1].sources.size());

    // Equal versions: the 64-bit one is the newest; the first is the first.
    g_newestRuntime = false;
    EXPECT_EQ(0, ChooseCandidate(candidates));
    g_newestRuntime = true;
    EXPECT_EQ(1, ChooseCandidate(candidates));
    g_maxJavaVersion = "";
    EXPECT_EQ(4, ChooseCandidate(candidates));
    g_searchJdkOnly = 1;
    EXPECT_STREQ("not a development kit", RejectionReason(candidates[4]).GetString());
    EXPECT_EQ(-1, ChooseCandidate(candidates));
    g_searchJdkOnly = 0;
    g_newestRuntime = false;
    g_minJavaVersion = "1.3";
}

}  // namespace
