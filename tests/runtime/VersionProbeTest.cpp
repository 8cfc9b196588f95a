// The version probe against fake runtime homes: the stand-in runtime prints a
// configured -version text, when told after a delay.
#include <gtest/gtest.h>

#include <windows.h>

#include <iostream>
#include <string>
#include <vector>

#include "base/Globals.h"
#include "runtime/VersionProbe.h"
#include "tests/support/LogCapture.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Paths.h"

namespace {

struct Probed {
    CString version;
    std::vector<std::string> log;
    double ms;
};

Probed Probe(const std::string& home) {
    LogCapture capture;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    CString version = ProbeJavaVersion(home.c_str());
    QueryPerformanceCounter(&end);
    Probed probed = {version, capture.Entries(), 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart};
    return probed;
}

// The entries after the chunks: "Info = " and the gathered text.
std::vector<std::string> Tail(const std::vector<std::string>& log) {
    for (size_t i = 0; i < log.size(); ++i)
        if (log[i] == "Info = ") return std::vector<std::string>(log.begin() + i, log.end());
    return std::vector<std::string>();
}

std::string Chunks(const std::vector<std::string>& log) {
    std::string chunks;
    for (const std::string& entry : log) {
        if (entry == "Info = ") break;
        if (entry.compare(0, 15, "CreateProcess: ") != 0) chunks += entry;
    }
    return chunks;
}

struct OutputCase {
    const char* what;
    std::string versionText;
    const char* version;
};

const OutputCase kOutputCases[] = {
    {"classic", "java version \"1.6.0_03\"\r\nJava(TM) SE Runtime Environment (build 1.6.0_03-b05)\r\n", "1.6.0_03"},
    {"open build 17", "openjdk version \"17.0.15\" 2025-04-15\nOpenJDK Runtime Environment (build 17.0.15+6)\n",
     "17.0.15"},
    {"open build 8", "openjdk version \"1.8.0_392\"\nOpenJDK Runtime Environment (build 1.8.0_392-b08)\n",
     "1.8.0_392"},
    {"picked up first", "Picked up JAVA_TOOL_OPTIONS: -Xmx64m\njava version \"11.0.2\" 2019-01-15 LTS\n", "11.0.2"},
    {"nothing", "", ""},
    {"fourteen characters", "java version \"", ""},
};

class ProbeOutputTest : public testing::TestWithParam<OutputCase> {};

TEST_P(ProbeOutputTest, ReadsTheVersionOfRealOutputFormats) {
    const OutputCase& c = GetParam();
    std::string home = MakeTempFolder("probe-output") + "jre";
    StandInBehaviour behaviour;
    behaviour.versionText = c.versionText;
    MakeFakeRuntime(home, behaviour);
    Probed probed = Probe(home);
    EXPECT_STREQ(c.version, probed.version) << c.what;
    EXPECT_EQ(c.versionText, Chunks(probed.log)) << "every chunk logged as it arrives";
    EXPECT_EQ((std::vector<std::string>{"Info = ", c.versionText}), Tail(probed.log));
}

INSTANTIATE_TEST_SUITE_P(Formats, ProbeOutputTest, testing::ValuesIn(kOutputCases));

TEST(VersionProbeTest, RunsTheQuotedJavaExeOfTheHomeWithVersionSwitch) {
    std::string folder = MakeTempFolder("probe-quoted");
    std::string home = folder + "Program Files\\Java\\jre 7";
    StandInBehaviour behaviour;
    behaviour.versionText = "java version \"1.7.0_80\"\n";
    MakeFakeRuntime(home, behaviour);
    // Unquoted, the command line would start this decoy first: it answers
    // with the stand-in's default version.
    ASSERT_TRUE(CopyFileA(StandInPath("java.exe").c_str(), (folder + "Program.exe").c_str(), FALSE));
    Probed probed = Probe(home);
    EXPECT_STREQ("1.7.0_80", probed.version);
    ASSERT_FALSE(probed.log.empty());
    EXPECT_EQ("CreateProcess: \"" + home + "\\bin\\java.exe\" -version", probed.log.front());
}

TEST(VersionProbeTest, AcceptsARuntimeThatAnswersAfterSixHundredMilliseconds) {
    std::string home = MakeTempFolder("probe-slow") + "jre";
    StandInBehaviour behaviour;
    behaviour.versionText = "java version \"1.7.0_80\"\n";
    behaviour.versionDelayMs = 600;
    MakeFakeRuntime(home, behaviour);
    Probed probed = Probe(home);
    EXPECT_STREQ("1.7.0_80", probed.version);
    std::cout << "[ measured ] probe of a runtime answering after 600 ms: " << probed.ms << " ms\n";
}

TEST(VersionProbeTest, ReturnsAsSoonAsTheOutputHasEnded) {
    std::string home = MakeTempFolder("probe-fast") + "jre";
    MakeFakeRuntime(home);
    Probe(home);  // the first start of a program under Wine is slower
    Probed probed = Probe(home);
    EXPECT_STREQ("1.6.0_03", probed.version);
    std::cout << "[ measured ] probe of a runtime answering at once: " << probed.ms << " ms\n";
    RecordProperty("probe_ms", static_cast<int>(probed.ms));
}

TEST(VersionProbeTest, GivesUpOnARuntimeThatDoesNotAnswerInTime) {
    std::string home = MakeTempFolder("probe-silent") + "jre";
    StandInBehaviour behaviour;
    behaviour.versionDelayMs = 6000;
    MakeFakeRuntime(home, behaviour);
    Probed probed = Probe(home);
    EXPECT_STREQ("", probed.version);
    EXPECT_EQ((std::vector<std::string>{"Info = ", ""}), Tail(probed.log));
    std::cout << "[ measured ] probe of a runtime that stays silent: " << probed.ms << " ms\n";
}

TEST(VersionProbeTest, HomeWithoutJavaExeGivesNoVersion) {
    std::string home = MakeTempFolder("probe-missing") + "jre";
    Probed probed = Probe(home);
    EXPECT_STREQ("", probed.version);
    EXPECT_EQ((std::vector<std::string>{"CreateProcess: \"" + home + "\\bin\\java.exe\" -version", "Info = ", ""}),
              probed.log);
    std::cout << "[ measured ] probe of a home without java.exe: " << probed.ms << " ms\n";
}

TEST(VersionProbeTest, EmptyHomeRunsNothing) {
    Probed probed = Probe("");
    EXPECT_STREQ("", probed.version);
    EXPECT_EQ((std::vector<std::string>{"Info = ", ""}), probed.log);
}

}  // namespace

TEST(IsVersionSufficientTest, ComparesWithTheProcessWideMinimum) {
    CString saved = g_minJavaVersion;
    g_minJavaVersion = "11";
    EXPECT_FALSE(IsVersionSufficient("1.8.0_202"));
    EXPECT_TRUE(IsVersionSufficient("11.0.2"));
    g_minJavaVersion = "1.3";
    EXPECT_TRUE(IsVersionSufficient("1.8.0_202"));
    EXPECT_FALSE(IsVersionSufficient("1.2.2"));
    g_minJavaVersion = saved;
}
