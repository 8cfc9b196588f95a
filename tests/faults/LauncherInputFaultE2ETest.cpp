// The launcher's own inputs at and past their limits, through the real
// launcher: VM options files that are huge, binary, locked or not files at
// all; property values of 32 KB and with control characters; argument lines
// at the system's command-line limit; a launcher folder whose derived paths
// no longer fit MAX_PATH. Each ends the way the launcher is meant to end:
// the application started with exactly the text read, or one clear message.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/PropertyIds.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Files.h"
#include "tests/support/Launcher.h"
#include "tests/support/Paths.h"
#include "tests/support/Registry.h"
#include "tools/testing/common/FileUtil.h"

namespace {

const char kVmEntry[] = "Loaded VM parametrers: ";
const char kArgumentEntry[] = "Full argument line: ";
const char kStartError[] = "Error occured while starting the application...\n";
// The dialog's rich-edit control gives its line ends back as "\r".
const char kNoRuntime[] = "This application cannot start since no appropriate JVM was found.";

// A launcher in folder with a stand-in runtime bundled as rt\ beside it, so
// that no search or probe stands between the inputs and the start.
std::string BundledLauncher(const std::string& folder, std::map<int, std::string> props = {}) {
    MakeFakeRuntime(folder + "rt");
    if (!props.count(PROP_START_JAR)) props[PROP_START_JAR] = "main.jar";
    if (!props.count(PROP_JRE_PATH)) props[PROP_JRE_PATH] = "rt\\bin\\javaw.exe";
    return PrepareLauncher(folder, props);
}

// The text after a label of the first entry that carries it, "<none>" without.
std::string EntryValue(const LaunchResult& result, const std::string& label) {
    int at = FindEntry(result.log, label);
    return at < 0 ? std::string("<none>") : result.log[at].substr(label.size());
}

// Long texts are compared without printing them whole on a mismatch.
::testing::AssertionResult SameText(const std::string& actual, const std::string& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    return ::testing::AssertionFailure() << "lengths " << actual.size() << " and " << expected.size()
                                         << ", first difference at " << at << ": \""
                                         << actual.substr(at, 40) << "\" vs \"" << expected.substr(at, 40) << "\"";
}

// The launcher started the application: exit 0, and the stand-in recorded
// the quoted runtime path, one blank and the logged argument line.
void ExpectStartedWithLoggedLine(const LaunchResult& result, const std::string& home) {
    EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
    RecordedRun run = WaitForRecordedRun(home);
    ASSERT_TRUE(run.found) << "the application did not start";
    std::string javaPath = EntryValue(result, "Jre path: ");
    EXPECT_TRUE(SameText(run.commandLine, "\"" + javaPath + "\" " + EntryValue(result, kArgumentEntry)));
}

// The start itself failed: one error box naming the cause, exit 1, nothing run.
void ExpectStartRefused(const LaunchResult& result, const std::string& home) {
    EXPECT_EQ(result.exitCode, 1u) << JoinLog(result.log);
    ASSERT_EQ(result.dialogs.size(), 1u) << JoinLog(result.log);
    const std::string& text = result.dialogs[0].text;
    EXPECT_EQ(text.compare(0, sizeof(kStartError) - 1, kStartError), 0) << text;
    EXPECT_GT(text.size(), sizeof(kStartError) - 1) << "the second line names the cause";
    EXPECT_FALSE(ReadRecordedRun(home).found);
}

// The bytes decoded as UTF-8 and encoded again: invalid bytes become U+FFFD.
std::string Utf8AsTheSystemDecodesIt(const std::string& bytes) {
    int wideSize = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(wideSize), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &wide[0], wideSize);
    int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, &utf8[0], size, nullptr, nullptr);
    return utf8;
}

// A small reproducible generator, so a failing case can be replayed.
class Bytes {
public:
    explicit Bytes(unsigned seed) : m_state(seed) {}
    unsigned char Next() {
        m_state = m_state * 1103515245u + 12345u;
        return static_cast<unsigned char>(m_state >> 16);
    }

private:
    unsigned m_state;
};

class LauncherInputFaultE2ETest : public ::testing::Test {
protected:
    JavaSoftRegistryGuard m_registry;
};

}  // namespace

TEST_F(LauncherInputFaultE2ETest, TenMegabytesOfVmOptionsAreReadWholeAndTheOverlongStartIsReported) {
    std::string folder = MakeTempFolder("fault-vm-10mb");
    std::string exe = BundledLauncher(folder);
    std::string file;
    std::string expected;
    for (int i = 0; file.size() < 10 * 1024 * 1024; ++i) {
        char key[32];
        wsprintfA(key, "-Dkey%06d=", i);
        std::string line = key + std::string(100 - lstrlenA(key), 'v');
        file += line + "\r\n";
        expected += line + " ";
    }
    expected += " ";  // the empty read after the last line end
    ASSERT_TRUE(WriteWholeFile(exe + ".vmoptions", file));

    RunOptions options;
    options.timeoutMs = 300000;
    LaunchResult result = RunLauncher(exe, "", options);

    EXPECT_TRUE(SameText(EntryValue(result, kVmEntry), expected));
    EXPECT_TRUE(SameText(EntryValue(result, kArgumentEntry), expected + " -jar main.jar "));
    ExpectStartRefused(result, folder + "rt");
}

TEST_F(LauncherInputFaultE2ETest, VmOptionLinesEndAtANulByteAndTheRestOfTheirLineIsDropped) {
    std::string folder = MakeTempFolder("fault-vm-nul");
    std::string exe = BundledLauncher(folder);
    ASSERT_TRUE(WriteWholeFile(exe + ".vmoptions", std::string("-Da=1\0hidden\n-Db=2\n\0\n-Dc=3", 26)));

    LaunchResult result = RunLauncher(exe, "");

    EXPECT_EQ(EntryValue(result, kVmEntry), "-Da=1 -Db=2  -Dc=3 ");
    ExpectStartedWithLoggedLine(result, folder + "rt");
}

TEST_F(LauncherInputFaultE2ETest, AOneMegabyteLineGivesItsFirst4095CharactersAndEndsTheReading) {
    std::string folder = MakeTempFolder("fault-vm-1mb");
    std::string exe = BundledLauncher(folder);
    std::string line = "-Dlong=" + std::string(1024 * 1024, 'x');
    ASSERT_TRUE(WriteWholeFile(exe + ".vmoptions", line + "\n-Dnext=1\n"));

    LaunchResult result = RunLauncher(exe, "");

    EXPECT_EQ(EntryValue(result, kVmEntry), line.substr(0, 4095) + " ");
    ExpectStartedWithLoggedLine(result, folder + "rt");
}

// A line of a .vmoptions file as the launcher (UTF-8 code page) takes it:
// as it is when it is UTF-8, from the system's code page 1252 otherwise.
std::string InLaunchersCodePage(const std::string& line) {
    if (line.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line.data(), static_cast<int>(line.size()),
                                            nullptr, 0) > 0)
        return line;
    std::wstring wide(line.size(), L'\0');
    int units = MultiByteToWideChar(1252, 0, line.data(), static_cast<int>(line.size()), &wide[0],
                                    static_cast<int>(wide.size()));
    std::string utf8(units * 3, '\0');
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, &utf8[0], static_cast<int>(utf8.size()), nullptr,
                                    nullptr));
    return utf8;
}

// Random bytes read in text mode: a carriage return before a line feed is
// dropped, a Ctrl+Z ends the text, a NUL ends its line's text, a line whose
// text starts with "#" after blanks and tabs is a comment and left out, a
// line that is not UTF-8 is read in the system's code page. Whatever the bytes, the
// application gets exactly the text the log shows.
TEST_F(LauncherInputFaultE2ETest, BinaryGarbageIsReadInTextModeAndPassedOnExactlyAsLogged) {
    const unsigned seeds[] = {1u, 7u, 2024u};
    for (unsigned seed : seeds) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        std::string folder = MakeTempFolder("fault-vm-garbage-" + std::to_string(seed));
        std::string exe = BundledLauncher(folder);
        Bytes random(seed);
        std::string file;
        for (int i = 0; i < 64 * 1024; ++i) file += static_cast<char>(random.Next());
        // Ctrl+Z would end most files within a few hundred bytes: keep one,
        // late, so that the lines before it are many and varied.
        for (char& c : file)
            if (c == '\x1a') c = 'z';
        file[48 * 1024] = '\x1a';
        ASSERT_TRUE(WriteWholeFile(exe + ".vmoptions", file));

        std::string text = file.substr(0, 48 * 1024);
        std::string expected;
        size_t start = 0;
        for (;;) {
            size_t end = text.find('\n', start);
            std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (end != std::string::npos && !line.empty() && line.back() == '\r') line.pop_back();
            for (size_t cr; (cr = line.find("\r\n")) != std::string::npos;) line.erase(cr, 1);
            ASSERT_LE(line.size(), 4095u) << "the seed gives a line past the read limit";
            std::string stored = line.substr(0, line.find('\0'));
            size_t first = stored.find_first_not_of(" \t", stored.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0);
            if (first == std::string::npos || stored[first] != '#') expected += InLaunchersCodePage(stored) + " ";
            if (end == std::string::npos) break;
            start = end + 1;
        }

        LaunchResult result = RunLauncher(exe, "");

        EXPECT_TRUE(SameText(EntryValue(result, kVmEntry), expected));
        // The launcher's text is UTF-8: the system turns each byte that is
        // not part of a valid sequence into U+FFFD on the way to the child.
        EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
        RecordedRun run = WaitForRecordedRun(folder + "rt");
        ASSERT_TRUE(run.found);
        std::string sent = "\"" + EntryValue(result, "Jre path: ") + "\" " + EntryValue(result, kArgumentEntry);
        EXPECT_TRUE(SameText(run.commandLineUtf8, Utf8AsTheSystemDecodesIt(sent)));
    }
}

TEST_F(LauncherInputFaultE2ETest, AVmOptionsFileHeldByAnotherProgramIsReadUnlessItIsHeldExclusively) {
    const struct {
        const char* what;
        DWORD access;
        DWORD share;
        const char* expected;
    } cases[] = {
        {"open for writing, others may read", GENERIC_WRITE, FILE_SHARE_READ, "-Dheld=1 -Dheld=2  "},
        {"open for writing, others may read and write", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
         "-Dheld=1 -Dheld=2  "},
        // The file exists but cannot be opened: the property stands in.
        {"open without sharing", GENERIC_READ | GENERIC_WRITE, 0, "-Dfrom=property"},
    };
    std::string folder = MakeTempFolder("fault-vm-held");
    std::string exe = BundledLauncher(folder, {{PROP_VM_PARAMS, "-Dfrom=property"}});
    std::string optionsFile = exe + ".vmoptions";
    ASSERT_TRUE(WriteWholeFile(optionsFile, "-Dheld=1\n-Dheld=2\n"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HANDLE held = CreateFileA(optionsFile.c_str(), c.access, c.share, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        LaunchResult result = RunLauncher(exe, "");
        CloseHandle(held);

        EXPECT_EQ(EntryValue(result, kVmEntry), c.expected) << JoinLog(result.log);
        EXPECT_EQ(result.exitCode, 0u);
        std::string content;
        EXPECT_TRUE(ReadWholeFile(optionsFile, &content));
        EXPECT_EQ(content, "-Dheld=1\n-Dheld=2\n") << "the launcher only reads the file";
    }
}

TEST_F(LauncherInputFaultE2ETest, AFolderNamedLikeTheVmOptionsFileCountsAsNoFile) {
    std::string folder = MakeTempFolder("fault-vm-folder");
    std::string exe = BundledLauncher(folder, {{PROP_VM_PARAMS, "-Dfrom=property"}});
    ASSERT_TRUE(CreateDirectoryA((exe + ".vmoptions").c_str(), nullptr));

    LaunchResult result = RunLauncher(exe, "");

    EXPECT_GE(FindEntry(result.log, "File was not found: " + exe + ".vmoptions"), 0) << JoinLog(result.log);
    EXPECT_EQ(EntryValue(result, kVmEntry), "-Dfrom=property");
    ExpectStartedWithLoggedLine(result, folder + "rt");
}

// The string table holds values up to 65,535 characters; the launcher takes
// each whole. What happens next depends on the property: a path that long
// exists nowhere, and a command line that long cannot be started.
TEST_F(LauncherInputFaultE2ETest, PropertyValuesOf32KilobytesAreTakenWholeAndFailOnlyWhereTheSystemRefusesThem) {
    const std::string big(32 * 1024, 'q');
    const std::string digits(32 * 1024, '9');
    const std::string fits = "-Dfits=" + std::string(32000, 'f');

    {
        SCOPED_TRACE("VM parameters that still fit the command line");
        std::string folder = MakeTempFolder("fault-prop-vm-fits");
        LaunchResult result = RunLauncher(BundledLauncher(folder, {{PROP_VM_PARAMS, fits}}), "");
        EXPECT_TRUE(SameText(EntryValue(result, kVmEntry), fits));
        ExpectStartedWithLoggedLine(result, folder + "rt");
    }
    {
        SCOPED_TRACE("VM parameters past the command-line limit");
        std::string folder = MakeTempFolder("fault-prop-vm-big");
        LaunchResult result = RunLauncher(BundledLauncher(folder, {{PROP_VM_PARAMS, big}}), "");
        EXPECT_TRUE(SameText(EntryValue(result, kVmEntry), big));
        ExpectStartRefused(result, folder + "rt");
    }
    {
        SCOPED_TRACE("start jar past the command-line limit");
        std::string folder = MakeTempFolder("fault-prop-jar-big");
        LaunchResult result = RunLauncher(BundledLauncher(folder, {{PROP_START_JAR, big}}), "");
        EXPECT_TRUE(SameText(EntryValue(result, "PROP_START_JAR: "), big));
        ExpectStartRefused(result, folder + "rt");
    }
    {
        SCOPED_TRACE("working directory");
        std::string folder = MakeTempFolder("fault-prop-workdir-big");
        LaunchResult result = RunLauncher(BundledLauncher(folder, {{PROP_WORK_DIR, big}}), "");
        EXPECT_GE(FindEntry(result.log, "ERROR: Cannot set working dir."), 0) << JoinLog(result.log);
        ExpectStartedWithLoggedLine(result, folder + "rt");
    }
    {
        SCOPED_TRACE("bundled runtime path");
        std::string folder = MakeTempFolder("fault-prop-jrepath-big");
        LaunchResult result = RunLauncher(BundledLauncher(folder, {{PROP_JRE_PATH, big}}), "");
        EXPECT_EQ(result.exitCode, 1u) << JoinLog(result.log);
        ASSERT_EQ(result.dialogs.size(), 1u) << JoinLog(result.log);
        EXPECT_EQ(result.dialogs[0].text.compare(0, sizeof(kNoRuntime) - 1, kNoRuntime), 0) << result.dialogs[0].text;
        EXPECT_FALSE(ReadRecordedRun(folder + "rt").found);
    }
    {
        SCOPED_TRACE("minimum version");
        std::string folder = MakeTempFolder("fault-prop-minversion-big");
        std::string home = folder + "jdk";
        MakeFakeRuntime(home);
        RunOptions options;
        options.env["JAVA_HOME"] = home;
        LaunchResult result = RunLauncher(
            PrepareLauncher(folder, {{PROP_START_JAR, "main.jar"}, {PROP_MIN_VERSION, digits}}), "", options);
        EXPECT_EQ(result.exitCode, 1u) << JoinLog(result.log);
        ASSERT_EQ(result.dialogs.size(), 1u) << JoinLog(result.log);
        const std::string& text = result.dialogs[0].text;
        EXPECT_EQ(text.compare(0, sizeof(kNoRuntime) - 1, kNoRuntime), 0) << text.substr(0, 200);
        EXPECT_NE(text.find(digits), std::string::npos) << "the dialog names the whole required version";
        EXPECT_FALSE(ReadRecordedRun(home).found);
    }
}

TEST_F(LauncherInputFaultE2ETest, ControlCharactersInPropertiesReachTheApplicationUnchanged) {
    std::string controls;
    for (char c = 1; c < 32; ++c) controls += c;
    controls += '\x7f';
    std::string folder = MakeTempFolder("fault-prop-controls");
    std::string vm = "-Dc=" + controls;
    std::string jar = "ma\tin\x01.jar";
    LaunchResult result = RunLauncher(BundledLauncher(folder, {{PROP_VM_PARAMS, vm}, {PROP_START_JAR, jar}}), "");

    EXPECT_EQ(EntryValue(result, kVmEntry), vm);
    EXPECT_EQ(EntryValue(result, kArgumentEntry), vm + " -jar " + jar + " ");
    ExpectStartedWithLoggedLine(result, folder + "rt");
}

TEST_F(LauncherInputFaultE2ETest, AStringTableWithoutAnyPropertyNamesNothingToStartAndEndsWith1AfterSayingSo) {
    std::string folder = MakeTempFolder("fault-prop-none");
    LaunchResult result = RunLauncher(PrepareLauncher(folder, {}), "");

    const char nothing[] =
        "The launcher names nothing to start: none of PROP_START_JAR, PROP_MAIN_CLASS and PROP_MAIN_MODULE is set.";
    for (const std::string& entry : {std::string("Loaded VM parametrers: "), std::string("PROP_START_JAR: "),
                                     "ERROR: " + std::string(nothing)}) {
        int at = FindEntry(result.log, entry);
        ASSERT_GE(at, 0) << entry << "\n" << JoinLog(result.log);
        EXPECT_EQ(result.log[at], entry);
    }
    // Java would reject " -jar  ": nothing is searched or started.
    EXPECT_EQ(FindEntry(result.log, "Jre path: "), -1) << JoinLog(result.log);
    EXPECT_EQ(result.exitCode, 1u);
    ASSERT_EQ(result.dialogs.size(), 1u) << JoinLog(result.log);
    EXPECT_EQ(result.dialogs[0].text, nothing);
}

// The system takes command lines of up to 32,767 characters with the
// terminating NUL. Pass-through arguments fill the application's line to
// exactly that, then one character more.
TEST_F(LauncherInputFaultE2ETest, ArgumentsFillingTheCommandLineToTheLimitArriveWholeAndOneMoreIsReported) {
    std::string folder = MakeTempFolder("fault-cmdline");
    std::string exe = BundledLauncher(folder);
    std::string home = folder + "rt";

    LaunchResult probe = RunLauncher(exe, "-p x");
    RecordedRun shortRun = WaitForRecordedRun(home);
    ASSERT_TRUE(shortRun.found) << JoinLog(probe.log);
    const size_t kLongest = 32766;
    ASSERT_LT(shortRun.commandLine.size(), kLongest);
    std::string fill = "x" + std::string(kLongest - shortRun.commandLine.size(), 'y');

    DeleteFileA((home + "\\bin\\javaw.exe.record").c_str());
    LaunchResult atLimit = RunLauncher(exe, "-p " + fill);
    EXPECT_EQ(atLimit.exitCode, 0u) << JoinLog(atLimit.log);
    RecordedRun run = WaitForRecordedRun(home);
    ASSERT_TRUE(run.found) << "a line of exactly " << kLongest << " characters did not start";
    EXPECT_EQ(run.commandLine.size(), kLongest);
    EXPECT_EQ(run.commandLine.substr(run.commandLine.size() - fill.size()), fill);

    DeleteFileA((home + "\\bin\\javaw.exe.record").c_str());
    LaunchResult past = RunLauncher(exe, "-p " + fill + "z");
    EXPECT_GE(FindEntry(past.log, "Application is run with parameters: "), 0);
    ExpectStartRefused(past, home);
}

// The launcher's own path is 259 characters, the most MAX_PATH holds; every
// path built from it is longer. Those are treated as absent (the VM options
// file, the bundled runtime) or as a working directory that cannot be set,
// each logged in full, and the launch goes on with what remains.
TEST_F(LauncherInputFaultE2ETest, ALauncherFolderAtMaxPathFallsBackWhereItsPathsNoLongerFit) {
    std::string root = MakeTempFolder("fault-maxpath");
    std::string folder = root;
    const std::string exeName = "launcher.exe";
    while (folder.size() + exeName.size() < MAX_PATH - 1) {
        size_t room = MAX_PATH - 1 - exeName.size() - folder.size();  // a folder name and its backslash
        size_t name = room > 101 ? 100 : room - 1;
        folder += std::string(name, 'd') + "\\";
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    }
    ASSERT_EQ(folder.size() + exeName.size(), static_cast<size_t>(MAX_PATH - 1));
    std::string home = MakeTempFolder("fault-maxpath-home") + "jdk";
    MakeFakeRuntime(home);
    std::string exe = PrepareLauncher(folder, {{PROP_START_JAR, "main.jar"},
                                               {PROP_VM_PARAMS, "-Dfrom=property"},
                                               {PROP_JRE_PATH, "rt\\bin\\javaw.exe"},
                                               {PROP_WORK_DIR, "work"}});
    ASSERT_EQ(exe.size(), static_cast<size_t>(MAX_PATH - 1));

    RunOptions options;
    options.env["JAVA_HOME"] = home;
    options.currentDir = root;
    LaunchResult result = RunLauncher(exe, "", options);

    std::string folderNoSlash = folder.substr(0, folder.size() - 1);
    EXPECT_GE(FindEntry(result.log, "Path to exe file of launcher: " + folderNoSlash), 0) << JoinLog(result.log);
    EXPECT_GE(FindEntry(result.log, "File was not found: " + exe + ".vmoptions"), 0) << JoinLog(result.log);
    EXPECT_EQ(EntryValue(result, kVmEntry), "-Dfrom=property");
    EXPECT_GE(FindEntry(result.log, "ERROR: Cannot set working dir."), 0) << JoinLog(result.log);
    EXPECT_EQ(EntryValue(result, "Jre path: "), home + "\\bin\\javaw.exe");
    EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
    RecordedRun run = WaitForRecordedRun(home);
    ASSERT_TRUE(run.found);
    std::string startDir = root.substr(0, root.size() - 1);
    EXPECT_EQ(_stricmp(run.currentDir.c_str(), startDir.c_str()), 0) << run.currentDir;
}

