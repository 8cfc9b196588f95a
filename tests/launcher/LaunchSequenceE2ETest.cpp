// The real launcher, run under the debugger: what it logs, in which order,
// what it shows and how it ends.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <windows.h>

#include <gtest/gtest.h>

#include "launcher/LauncherOptions.h"
#include "base/PropertyIds.h"
#include "tests/support/Dialogs.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Files.h"
#include "tests/support/Launcher.h"
#include "tests/support/Paths.h"
#include "tests/support/Registry.h"
#include "tests/support/SplashBmp.h"
#include "tools/jarstart-tool/ToolArgs.h"
#include "tools/testing/common/FileUtil.h"

namespace {

std::string FolderOf(const std::string& exePath) {
    return exePath.substr(0, exePath.find_last_of('\\'));
}

std::string ReadWhole(const std::string& path) {
    std::string content;
    return ReadWholeFile(path, &content) ? content : "<missing>";
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// %APPDATA%\<name>\<name>.exe.vmoptions of the environment the launcher
// inherits from this test.
std::string UserOptionsFile(const std::string& exeName, std::string appData = std::string()) {
    if (appData.empty()) {
        char value[MAX_PATH] = {};
        GetEnvironmentVariableA("APPDATA", value, MAX_PATH);
        appData = value;
    }
    return appData + "\\" + exeName.substr(0, exeName.rfind('.')) + "\\" + exeName + ".vmoptions";
}

// The launcher's own entries up to its working directory, for a launcher in
// `folder` without a VM options file, switches logged by the caller.
std::vector<std::string> EntriesFromVmOptionsToWorkingDir(const std::string& folder, const std::string& exeName,
                                                          const std::string& vmParams, const std::string& startJar,
                                                          const std::string& workDir) {
    std::string optionsFile = folder + "\\" + exeName + ".vmoptions";
    std::string userFile = UserOptionsFile(exeName);
    return {
        "Loading VM options.",
        "Try to load VM options from file: " + optionsFile,
        "File was not found: " + optionsFile,
        "Try to load VM options from file: " + userFile,
        "File was not found: " + userFile,
        "Loaded VM parametrers: " + vmParams,
        "PROP_START_JAR: " + startJar,
        "PROP_SPLASH: false.",
        "PROP_SEARCH_JDK_ONLY: false.",
        "Path to exe file of launcher: " + folder,
        "PROP_WORK_DIR: " + workDir,
        "Working dir: " + folder + "\\" + workDir,
    };
}

void ExpectLogStartsWith(const LaunchResult& result, const std::vector<std::string>& expected) {
    ASSERT_GE(result.log.size(), expected.size()) << JoinLog(result.log);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(result.log[i], expected[i]) << "entry " << i << " of\n" << JoinLog(result.log);
    }
}

// No runtime can be found: nothing registered, JAVA_HOME unset (RunLauncher
// unsets it), nothing bundled.
void ExpectEndedWithoutRuntime(const LaunchResult& result) {
    EXPECT_TRUE(result.started);
    int jrePath = FindEntry(result.log, "Jre path: ");
    EXPECT_GE(jrePath, 0) << JoinLog(result.log);
    EXPECT_EQ(FindEntry(result.log, "Full argument line: "), -1) << JoinLog(result.log);
    EXPECT_EQ(result.exitCode, 1u);
}

class LaunchSequenceE2ETest : public ::testing::Test {
protected:
    JavaSoftRegistryGuard m_registry;
};

}  // namespace

TEST_F(LaunchSequenceE2ETest, AnEmptyCommandLineLogsEveryStepInOrderAndEndsWith1WithoutARuntime) {
    std::string folder = MakeTempFolder("seq-empty");
    std::string exe = PrepareLauncher(folder, {{PROP_START_JAR, "main.jar"}});
    LaunchResult result = RunLauncher(exe, "");

    std::vector<std::string> expected = {"Launcher executed with command line: ",
                                         "Application is run with parameters: "};
    for (const std::string& e : EntriesFromVmOptionsToWorkingDir(FolderOf(exe), "launcher.exe", "", "main.jar", ""))
        expected.push_back(e);
    ExpectLogStartsWith(result, expected);
    EXPECT_EQ(FindEntry(result.log, "ERROR: Cannot set working dir."), -1) << JoinLog(result.log);
    ExpectEndedWithoutRuntime(result);
    EXPECT_FALSE(FileExists(folder + "log.txt"));
}

TEST_F(LaunchSequenceE2ETest, TheConsoleAndPassSwitchesAreLoggedBeforeTheVmOptions) {
    const struct {
        std::string args;
        std::vector<std::string> switchEntries;
    } cases[] = {
        {"-c", {"Launcher executed with command line: -c", "Application is run as console.",
                "Application is run with parameters: "}},
        {"-p one two", {"Launcher executed with command line: -p one two",
                        "Application is run with parameters:  one two"}},
        {"/c -p  x", {"Launcher executed with command line: /c -p  x", "Application is run as console.",
                      "Application is run with parameters:   x"}},
    };
    std::string folder = MakeTempFolder("seq-switches");
    std::string exe = PrepareLauncher(folder, {{PROP_START_JAR, "main.jar"}});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        LaunchResult result = RunLauncher(exe, c.args);
        std::vector<std::string> expected = c.switchEntries;
        for (const std::string& e :
             EntriesFromVmOptionsToWorkingDir(FolderOf(exe), "launcher.exe", "", "main.jar", ""))
            expected.push_back(e);
        ExpectLogStartsWith(result, expected);
        ExpectEndedWithoutRuntime(result);
    }
}

TEST_F(LaunchSequenceE2ETest, TheDebugSwitchTruncatesLogTxtInTheStartDirectoryNotTheWorkingDirectory) {
    std::string root = MakeTempFolder("seq-debug");
    std::string appFolder = root + "app\\";
    std::string startFolder = root + "start\\";
    CreateDirectoryA(appFolder.c_str(), nullptr);
    CreateDirectoryA((appFolder + "work").c_str(), nullptr);
    CreateDirectoryA(startFolder.c_str(), nullptr);
    WriteBytes(startFolder + "log.txt", "output of an earlier run\r\n");
    std::string exe = PrepareLauncher(appFolder, {{PROP_START_JAR, "main.jar"}, {PROP_WORK_DIR, "work"}});

    RunOptions options;
    options.currentDir = startFolder;
    LaunchResult result = RunLauncher(exe, "-d", options);

    std::vector<std::string> expected = {"Launcher executed with command line: -d",
                                         "Application is run with debug flag.",
                                         "Application is run with parameters: "};
    for (const std::string& e :
         EntriesFromVmOptionsToWorkingDir(FolderOf(exe), "launcher.exe", "", "main.jar", "work"))
        expected.push_back(e);
    ExpectLogStartsWith(result, expected);
    ExpectEndedWithoutRuntime(result);
    EXPECT_EQ(ReadWhole(startFolder + "log.txt"), "");
    EXPECT_FALSE(FileExists(appFolder + "work\\log.txt"));
    EXPECT_FALSE(FileExists(appFolder + "log.txt"));
}

TEST_F(LaunchSequenceE2ETest, WithoutTheDebugSwitchAnExistingLogTxtStaysUnchanged) {
    std::string folder = MakeTempFolder("seq-nodebug");
    WriteBytes(folder + "log.txt", "keep me");
    std::string exe = PrepareLauncher(folder, {{PROP_START_JAR, "main.jar"}});
    LaunchResult result = RunLauncher(exe, "-c");
    ExpectEndedWithoutRuntime(result);
    EXPECT_EQ(ReadWhole(folder + "log.txt"), "keep me");
}

TEST_F(LaunchSequenceE2ETest, AMalformedLineShowsOnlyTheUsageTextAndEndsWith0) {
    const char* lines[] = {"-Xhelp", "-d -Xdebug", "main.jar", "-c -", "\"-d\""};
    std::string folder = MakeTempFolder("seq-usage");
    std::string exe = PrepareLauncher(folder, {{PROP_START_JAR, "main.jar"}});
    for (const char* line : lines) {
        SCOPED_TRACE(line);
        LaunchResult result = RunLauncher(exe, line);
        EXPECT_TRUE(result.started);
        EXPECT_EQ(result.exitCode, 0u);
        ASSERT_EQ(result.log.size(), 1u) << JoinLog(result.log);
        EXPECT_EQ(result.log[0], std::string("Launcher executed with command line: ") + line);
        ASSERT_EQ(result.dialogs.size(), 1u);
        EXPECT_EQ(result.dialogs[0].text, kUsageText);
        EXPECT_EQ(result.dialogs[0].caption, "");
        EXPECT_FALSE(FileExists(folder + "log.txt"));
    }
}

TEST_F(LaunchSequenceE2ETest, TheWorkingDirectoryIsTheLauncherFolderABackslashAndTheProperty) {
    std::string root = MakeTempFolder("seq-workdir");
    std::string appFolder = root + "app\\";
    CreateDirectoryA(appFolder.c_str(), nullptr);
    CreateDirectoryA((root + "sibling").c_str(), nullptr);
    std::string absolute = root + "sibling";  // "X:\...": appended, it names nothing
    const struct {
        std::string workDir;
        bool changes;
    } cases[] = {
        {"", true},
        {"..\\sibling", true},
        {absolute, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("PROP_WORK_DIR " + c.workDir);
        std::string exe = PrepareLauncher(appFolder, {{PROP_START_JAR, "main.jar"}, {PROP_WORK_DIR, c.workDir}});
        LaunchResult result = RunLauncher(exe, "");
        std::string folder = FolderOf(exe);
        int propEntry = FindEntry(result.log, "PROP_WORK_DIR: ");
        ASSERT_GE(propEntry, 0) << JoinLog(result.log);
        ASSERT_GT(result.log.size(), static_cast<size_t>(propEntry + 1));
        EXPECT_EQ(result.log[propEntry], "PROP_WORK_DIR: " + c.workDir);
        EXPECT_EQ(result.log[propEntry + 1], "Working dir: " + folder + "\\" + c.workDir);
        int error = FindEntry(result.log, "ERROR: Cannot set working dir.");
        if (c.changes) {
            EXPECT_EQ(error, -1) << JoinLog(result.log);
        } else {
            // The failure is logged right away and the launch goes on.
            EXPECT_EQ(error, propEntry + 2) << JoinLog(result.log);
            EXPECT_GT(FindEntry(result.log, "Jre path: ", error), error) << JoinLog(result.log);
        }
        ExpectEndedWithoutRuntime(result);
    }
}

TEST_F(LaunchSequenceE2ETest, AVmOptionsFileBesideTheLauncherReplacesThePropertyAndToolDotVmoptionsIsIgnored) {
    std::string folder = MakeTempFolder("seq-vmoptions");
    std::string exe = PrepareLauncher(folder, {{PROP_START_JAR, "main.jar"}, {PROP_VM_PARAMS, "-Dfrom=property"}},
                                      "tool.exe");
    std::string optionsFile = FolderOf(exe) + "\\tool.exe.vmoptions";

    std::string userFile = UserOptionsFile("tool.exe");
    WriteBytes(folder + "tool.vmoptions", "-Dfrom=replaced-extension\r\n");
    LaunchResult fallback = RunLauncher(exe, "");
    ExpectLogStartsWith(fallback, {"Launcher executed with command line: ", "Application is run with parameters: ",
                                   "Loading VM options.", "Try to load VM options from file: " + optionsFile,
                                   "File was not found: " + optionsFile, "Try to load VM options from file: " + userFile,
                                   "File was not found: " + userFile, "Loaded VM parametrers: -Dfrom=property"});

    WriteBytes(folder + "tool.exe.vmoptions", "A\r\nB\r\n");
    LaunchResult fromFile = RunLauncher(exe, "");
    ExpectLogStartsWith(fromFile, {"Launcher executed with command line: ", "Application is run with parameters: ",
                                   "Loading VM options.", "Try to load VM options from file: " + optionsFile,
                                   "File was found: " + optionsFile, "Try to load VM options from file: " + userFile,
                                   "File was not found: " + userFile, "Loaded VM parametrers: A B  "});
}

TEST_F(LaunchSequenceE2ETest, AVmOptionsFileWithCommentLinesGivesJavaTheOptionsAlone) {
    std::string folder = MakeTempFolder("seq-vmcomments");
    MakeFakeRuntime(folder + "rt");
    std::string exe = PrepareLauncher(folder, {{PROP_START_JAR, "main.jar"}, {PROP_JRE_PATH, "rt\\bin\\javaw.exe"}},
                                      "tool.exe");
    WriteBytes(folder + "tool.exe.vmoptions",
               "# memory settings\r\n-Xmx512m\r\n  # the application's data\r\n-Dapp.data=x#y\r\n#last");
    LaunchResult result = RunLauncher(exe, "");

    EXPECT_GE(FindEntry(result.log, "Loaded VM parametrers: -Xmx512m -Dapp.data=x#y "), 0) << JoinLog(result.log);
    EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
    RecordedRun run = WaitForRecordedRun(folder + "rt");
    EXPECT_EQ(run.args, (std::vector<std::string>{"-Xmx512m", "-Dapp.data=x#y", "-jar", "main.jar"}))
        << run.commandLine;
}

TEST_F(LaunchSequenceE2ETest, AnApplicationUnderAFolderWithBlanksGetsItsFolderAsOneQuotedArgument) {
    std::string root = MakeTempFolder("seq-blanks");
    std::string appFolder = root + "Program Files\\My App\\";
    CreateFolders(appFolder);
    MakeFakeRuntime(appFolder + "rt");
    std::string folder = appFolder.substr(0, appFolder.size() - 1);
    // As README shows it: the expansion inside quotes, in the file and in
    // the property, once with the quotes around the whole option and once
    // around the value.
    std::string exe = PrepareLauncher(appFolder, {{PROP_START_JAR, "app.jar"},
                                                  {PROP_JRE_PATH, "rt\\bin\\javaw.exe"},
                                                  {PROP_VM_PARAMS, "\"-Dapp.home=%JARSTART_EXEDIR%\" -Dapp.exe=\"%JARSTART_EXE%\""}},
                                      "My App.exe");
    for (bool withFile : {false, true}) {
        SCOPED_TRACE(withFile ? "from the .vmoptions file" : "from PROP_VM_PARAMS");
        DeleteFileA((appFolder + "rt\\bin\\javaw.exe.record").c_str());
        if (withFile)
            WriteBytes(exe + ".vmoptions", "# where the application lives\r\n\"-Dapp.home=%JARSTART_EXEDIR%\"\r\n"
                                           "-Dapp.exe=\"%JARSTART_EXE%\"\r\n");
        LaunchResult result = RunLauncher(exe, "-p \"a file.txt\"");
        EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
        RecordedRun run = WaitForRecordedRun(appFolder + "rt");
        ASSERT_TRUE(run.found) << JoinLog(result.log);
        // What the runtime's C library makes of its command line: each
        // option one argument, blanks and all.
        EXPECT_EQ(SplitCommandLine(run.commandLine)[0].value, folder + "\\rt\\bin\\javaw.exe");
        EXPECT_EQ(run.args, (std::vector<std::string>{"-Dapp.home=" + folder, "-Dapp.exe=" + exe, "-jar", "app.jar",
                                                      "a file.txt"}))
            << run.commandLine;
    }
}

TEST_F(LaunchSequenceE2ETest, TheArgumentLineJoinsVmParametersTheStartPartAndPassThroughTextForEachWayToStart) {
    std::string root = MakeTempFolder("seq-argline");
    std::string appFolder = root + "app\\";
    CreateDirectoryA(appFolder.c_str(), nullptr);
    CreateDirectoryA((root + "sibling").c_str(), nullptr);
    MakeFakeRuntime(appFolder + "rt");
    const struct {
        const char* name;
        std::map<int, std::string> start;
        std::string line;                // after the VM parameters, before the pass-through text
        std::vector<std::string> args;   // what the runtime reads between -Xmx256m and one two
    } cases[] = {
        {"jar", {{PROP_START_JAR, "main.jar"}}, " -jar main.jar", {"-jar", "main.jar"}},
        // Relative entries, one with a blank, a wildcard Java expands itself
        // and a variable expanded as in the VM options.
        {"class",
         {{PROP_MAIN_CLASS, "com.example.Main"}, {PROP_CLASS_PATH, "lib\\*;my libs\\extra.jar;%SEQ_LIBS%\\x.jar"}},
         " -cp \"lib\\*;my libs\\extra.jar;C:\\Libs\\x.jar\" com.example.Main",
         {"-cp", "lib\\*;my libs\\extra.jar;C:\\Libs\\x.jar", "com.example.Main"}},
        {"module",
         {{PROP_MAIN_MODULE, "com.example.app/com.example.app.Main"}, {PROP_MODULE_PATH, "mods;my mods"}},
         " --module-path \"mods;my mods\" -m com.example.app/com.example.app.Main",
         {"--module-path", "mods;my mods", "-m", "com.example.app/com.example.app.Main"}},
        // A module of a runtime image made with jlink: no module path.
        {"module in the image", {{PROP_MAIN_MODULE, "com.example.app"}}, " -m com.example.app",
         {"-m", "com.example.app"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::map<int, std::string> props = c.start;
        props[PROP_VM_PARAMS] = "-Xmx256m ";
        props[PROP_JRE_PATH] = "rt\\bin\\javaw.exe";
        props[PROP_WORK_DIR] = "..\\sibling";
        std::string exe = PrepareLauncher(appFolder, props);
        DeleteFileA((appFolder + "rt\\bin\\javaw.exe.record").c_str());
        RunOptions options;
        options.env = {{"SEQ_LIBS", "C:\\Libs"}};
        LaunchResult result = RunLauncher(exe, "-p one two", options);

        std::string javaPath = FolderOf(exe) + "\\rt\\bin\\javaw.exe";
        EXPECT_GE(FindEntry(result.log, "Jre path: " + javaPath), 0) << JoinLog(result.log);
        int argumentLine = FindEntry(result.log, "Full argument line: ");
        ASSERT_GE(argumentLine, 0) << JoinLog(result.log);
        EXPECT_EQ(result.log[argumentLine], "Full argument line: -Xmx256m " + c.line + "  one two");
        // Only a module raises the minimum; a jar launcher's log is as it always was.
        EXPECT_EQ(FindEntry(result.log, "Minimum version for the start mode: 9") >= 0,
                  c.start.count(PROP_MAIN_MODULE) == 1)
            << JoinLog(result.log);
        EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);

        // The application runs on after the launcher; wait for what it recorded.
        RecordedRun run = WaitForRecordedRun(appFolder + "rt");
        EXPECT_EQ(run.commandLine, "\"" + javaPath + "\" -Xmx256m " + c.line + "  one two");
        std::vector<std::string> args = {"-Xmx256m"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.push_back("one");
        args.push_back("two");
        EXPECT_EQ(run.args, args);
        char expectedDir[MAX_PATH];
        GetFullPathNameA((root + "sibling").c_str(), MAX_PATH, expectedDir, nullptr);
        std::string recordedDir = run.currentDir;
        if (!recordedDir.empty() && recordedDir.back() == '\\') recordedDir.pop_back();
        EXPECT_EQ(_stricmp(recordedDir.c_str(), expectedDir), 0) << recordedDir << " vs " << expectedDir;
    }
}

TEST_F(LaunchSequenceE2ETest, ALauncherNamingTwoThingsToStartOrNoneShowsWhichAndEndsWith1BeforeTheSearch) {
    const struct {
        const char* name;
        std::map<int, std::string> start;
        std::string problem;
    } cases[] = {
        {"jar and class", {{PROP_START_JAR, "main.jar"}, {PROP_MAIN_CLASS, "com.example.Main"}},
         "The launcher names more than one thing to start: PROP_START_JAR and PROP_MAIN_CLASS are set; it starts one "
         "of them."},
        {"class and module", {{PROP_MAIN_CLASS, "com.example.Main"}, {PROP_MAIN_MODULE, "app"}},
         "The launcher names more than one thing to start: PROP_MAIN_CLASS and PROP_MAIN_MODULE are set; it starts "
         "one of them."},
        {"none, a class path alone", {{PROP_CLASS_PATH, "lib\\*"}},
         "The launcher names nothing to start: none of PROP_START_JAR, PROP_MAIN_CLASS and PROP_MAIN_MODULE is set."},
    };
    std::string folder = MakeTempFolder("seq-two-targets");
    MakeFakeRuntime(folder + "rt");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::map<int, std::string> props = c.start;
        props[PROP_JRE_PATH] = "rt\\bin\\javaw.exe";
        LaunchResult result = RunLauncher(PrepareLauncher(folder, props), "");
        EXPECT_GE(FindEntry(result.log, "ERROR: " + c.problem), 0) << JoinLog(result.log);
        EXPECT_EQ(FindEntry(result.log, "Jre path: "), -1) << JoinLog(result.log);
        EXPECT_EQ(result.exitCode, 1u);
        ASSERT_EQ(result.dialogs.size(), 1u) << JoinLog(result.log);
        EXPECT_EQ(result.dialogs[0].text, c.problem);
        EXPECT_FALSE(ReadRecordedRun(folder + "rt").found);
    }
}

TEST_F(LaunchSequenceE2ETest, AFailedStartShowsBothLinesOfTheErrorAndEndsWith1) {
    std::string folder = MakeTempFolder("seq-startfail");
    CreateDirectoryA((folder + "not-a-program").c_str(), nullptr);
    std::string exe = PrepareLauncher(folder, {{PROP_START_JAR, "main.jar"}, {PROP_JRE_PATH, "not-a-program"}});
    LaunchResult result = RunLauncher(exe, "");

    EXPECT_GE(FindEntry(result.log, "Full argument line:  -jar main.jar "), 0) << JoinLog(result.log);
    EXPECT_EQ(result.exitCode, 1u);
    ASSERT_EQ(result.dialogs.size(), 1u) << JoinLog(result.log);
    const std::string firstLine = "Error occured while starting the application...\n";
    const std::string& text = result.dialogs[0].text;
    EXPECT_EQ(text.compare(0, firstLine.size(), firstLine), 0) << text;
    EXPECT_GT(text.size(), firstLine.size()) << "the second line names the cause";
    EXPECT_EQ(result.dialogs[0].caption, "");
}

TEST_F(LaunchSequenceE2ETest, ASplashImageThatCannotBeLoadedEndsWith1BeforeTheStart) {
    std::string folder = MakeTempFolder("seq-badsplash");
    MakeFakeRuntime(folder + "rt");
    std::string notAnImage = "this is not an image";
    std::string exe = PrepareLauncher(folder, {{PROP_START_JAR, "main.jar"}, {PROP_SPLASH, "on"},
                                               {PROP_JRE_PATH, "rt\\bin\\javaw.exe"}},
                                      "launcher.exe", &notAnImage);
    LaunchResult result = RunLauncher(exe, "");

    EXPECT_GE(FindEntry(result.log, "PROP_SPLASH: true."), 0) << JoinLog(result.log);
    EXPECT_EQ(FindEntry(result.log, "Full argument line: "), -1) << JoinLog(result.log);
    EXPECT_EQ(result.exitCode, 1u);
    ASSERT_EQ(result.dialogs.size(), 1u);
    EXPECT_EQ(result.dialogs[0].text, "Cannot load splash screen. Probably unsupported or invalid file.");
    EXPECT_TRUE(ReadRecordedRun(folder + "rt").commandLine.empty());
}

namespace {

bool Loaded(const LaunchResult& result, const std::string& library) {
    for (const std::string& name : result.libraries)
        if (name == library) return true;
    return false;
}

}  // namespace

TEST_F(LaunchSequenceE2ETest, AFailedStartWithTheSplashOnShowsItsErrorWithoutEverShowingTheSplash) {
    std::string folder = MakeTempFolder("seq-startfail-splash");
    CreateDirectoryA((folder + "not-a-program").c_str(), nullptr);
    std::string image = MakeSplashBmp();
    std::string exe = PrepareLauncher(folder, {{PROP_START_JAR, "main.jar"}, {PROP_JRE_PATH, "not-a-program"},
                                               {PROP_SPLASH, "on"}},
                                      "launcher.exe", &image);
    RunOptions options;
    bool splashBehindTheBox = false;
    options.onDialog = [&](HWND dialog) {
        DWORD processId = 0;
        GetWindowThreadProcessId(dialog, &processId);
        for (HWND window : FindProcessWindows(processId, true))
            if (GetClassNameString(window) != "#32770") splashBehindTheBox = true;
    };
    LaunchResult result = RunLauncher(exe, "", options);

    EXPECT_EQ(result.exitCode, 1u);
    ASSERT_EQ(result.dialogs.size(), 1u) << JoinLog(result.log);
    EXPECT_EQ(result.dialogs[0].text.compare(0, 48, "Error occured while starting the application...\n"), 0);
    EXPECT_FALSE(splashBehindTheBox) << "the splash opens only after the application has started";
}

// Picture decoding (ole32, oleaut32), common controls and the rich-edit
// control are loaded only by the splash and the dialogs that need them: a
// start without them maps none of these libraries.
TEST_F(LaunchSequenceE2ETest, OnlyTheSplashLoadsThePictureLibrariesAndNoStartLoadsTheDialogLibraries) {
    struct Row {
        const char* name;
        std::map<int, std::string> props;
        bool picture;  // ole32 and oleaut32 expected
    };
    const Row rows[] = {
        {"plain", {}, false},
        {"keepalive", {{PROP_KEEP_ALIVE, "on"}}, false},
        {"splash", {{PROP_SPLASH, "on"}, {PROP_SPLASH_TIMEOUT, "1"}}, true},
    };
    std::string image = MakeSplashBmp();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string folder = MakeTempFolder(std::string("seq-libraries-") + row.name);
        MakeFakeRuntime(folder + "rt");
        std::map<int, std::string> props = row.props;
        props[PROP_START_JAR] = "main.jar";
        props[PROP_JRE_PATH] = "rt\\bin\\javaw.exe";
        std::string exe = PrepareLauncher(folder, props, "launcher.exe", &image);
        LaunchResult result = RunLauncher(exe, "");

        EXPECT_TRUE(WaitForRecordedRun(folder + "rt").found) << JoinLog(result.log);
        EXPECT_TRUE(result.dialogs.empty());
        std::string libraries;
        for (const std::string& name : result.libraries) libraries += name + " ";
        EXPECT_TRUE(Loaded(result, "kernel32.dll")) << "the libraries are observed: " << libraries;
        EXPECT_EQ(Loaded(result, "ole32.dll"), row.picture) << libraries;
        EXPECT_EQ(Loaded(result, "oleaut32.dll"), row.picture) << libraries;
        for (const char* dialogOnly : {"riched32.dll", "riched20.dll"})
            EXPECT_FALSE(Loaded(result, dialogOnly)) << dialogOnly << " in " << libraries;
        // The system's own window code may bring common controls in for any
        // window; without one nothing may.
        if (row.props.empty()) {
            EXPECT_FALSE(Loaded(result, "comctl32.dll")) << libraries;
        }
    }
}

TEST_F(LaunchSequenceE2ETest, VariablesExpandInBothOptionSourcesAndTheUsersOwnFileComesLast) {
    std::string root = MakeTempFolder("seq-variables");
    std::string appFolder = root + "app\\";
    std::string appData = root + "roaming";
    CreateFolders(appFolder);
    CreateFolders(appData + "\\MyApp");
    MakeFakeRuntime(appFolder + "rt");
    std::string folder = appFolder.substr(0, appFolder.size() - 1);
    std::string exePath = folder + "\\MyApp.exe";
    std::string userFile = UserOptionsFile("MyApp.exe", appData);
    const struct {
        const char* name;
        const char* ownFile;   // nullptr: none, PROP_VM_PARAMS applies
        const char* userText;  // nullptr: no per-user file
        std::string vmParameters;
    } cases[] = {
        {"property and user file", nullptr, "-Xmx2g\r\n-Ddata=%SEQ_DATA%\\MyApp\r\n",
         "-Dhome=" + folder + " -Dexe=" + exePath + " -Dkept=%SEQ_UNDEFINED% -Xmx256m -Xmx2g -Ddata=C:\\Data\\MyApp  "},
        {"own file only", "-Dhome=%JARSTART_EXEDIR%\n-Dd=%SEQ_DATA%", nullptr,
         "-Dhome=" + folder + " -Dd=C:\\Data "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string exe = PrepareLauncher(appFolder, {{PROP_START_JAR, "main.jar"},
                                                      {PROP_JRE_PATH, "rt\\bin\\javaw.exe"},
                                                      {PROP_VM_PARAMS, "-Dhome=%JARSTART_EXEDIR% -Dexe=%JARSTART_EXE% "
                                                                       "-Dkept=%SEQ_UNDEFINED% -Xmx256m"}},
                                          "MyApp.exe");
        DeleteFileA((exePath + ".vmoptions").c_str());
        DeleteFileA(userFile.c_str());
        DeleteFileA((appFolder + "rt\\bin\\javaw.exe.record").c_str());
        if (c.ownFile) WriteBytes(exePath + ".vmoptions", c.ownFile);
        if (c.userText) WriteBytes(userFile, c.userText);
        RunOptions options;
        options.env = {{"APPDATA", appData}, {"SEQ_DATA", "C:\\Data"}};
        LaunchResult result = RunLauncher(exe, "", options);

        int tried = FindEntry(result.log, "Try to load VM options from file: " + userFile);
        ASSERT_GE(tried, 0) << JoinLog(result.log);
        EXPECT_EQ(result.log[tried + 1], (c.userText ? "File was found: " : "File was not found: ") + userFile);
        EXPECT_EQ(result.log[tried + 2], "Loaded VM parametrers: " + c.vmParameters);
        EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
        RecordedRun run = WaitForRecordedRun(appFolder + "rt");
        EXPECT_EQ(run.commandLine,
                  "\"" + folder + "\\rt\\bin\\javaw.exe\" " + c.vmParameters + " -jar main.jar ");
        // The application inherits them too.
        EXPECT_EQ(run.env["JARSTART_EXE"], exePath);
        EXPECT_EQ(run.env["JARSTART_EXEDIR"], folder);
    }
}

TEST_F(LaunchSequenceE2ETest, JarstartLogAppendsEveryEntryStampedAndInDebugModeTheOutputAndNeverStopsTheLaunch) {
    std::string folder = MakeTempFolder("seq-jarstart-log");
    StandInBehaviour behaviour;
    behaviour.stdoutText = "hello from the app\n";
    MakeFakeRuntime(folder + "rt", behaviour);
    // The watch of PROP_SHOW_START_ERRORS waits for the application's end
    // and its output.
    std::string exe = PrepareLauncher(folder, {{PROP_START_JAR, "main.jar"}, {PROP_JRE_PATH, "rt\\bin\\javaw.exe"},
                                               {PROP_SHOW_START_ERRORS, "1"}});
    CreateFolders(folder + "a-folder");
    const struct {
        const char* name;
        std::string logFile;
        const char* args;
        bool written;
    } cases[] = {
        {"entries", folder + "diag.log", "", true},
        {"debug mode", folder + "debug.log", "-d", true},
        {"a folder", folder + "a-folder", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.written) WriteBytes(c.logFile, "an earlier run\r\n");
        RunOptions options;
        options.env = {{"JARSTART_LOG", c.logFile}};
        LaunchResult result = RunLauncher(exe, c.args, options);
        EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
        EXPECT_GE(FindEntry(result.log, "Full argument line: "), 0) << JoinLog(result.log);
        if (!c.written) continue;

        std::string text = ReadWhole(c.logFile);
        const std::string earlier = "an earlier run\r\n";
        ASSERT_EQ(text.compare(0, earlier.size(), earlier), 0) << text;
        std::vector<std::string> lines;
        for (size_t at = earlier.size(), end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
            lines.push_back(text.substr(at, end - at));
        // "YYYY-MM-DD HH:MM:SS.mmm " and the entry, its line breaks written as \r and \n.
        std::vector<std::string> entries;
        for (const std::string& line : lines) {
            ASSERT_GT(line.size(), 24u) << line;
            EXPECT_TRUE(line[4] == '-' && line[10] == ' ' && line[13] == ':' && line[19] == '.' && line[23] == ' ')
                << line;
            entries.push_back(line.substr(24));
        }
        std::vector<std::string> expected;
        for (const std::string& entry : result.log) {
            if (entry == behaviour.stdoutText) {
                if (std::string(c.args) == "-d") expected.push_back("Application output: hello from the app\\n");
                continue;
            }
            std::string escaped;
            for (char ch : entry) escaped += ch == '\n' ? std::string("\\n") : ch == '\r' ? std::string("\\r") : std::string(1, ch);
            expected.push_back(escaped);
        }
        EXPECT_EQ(entries, expected) << text;
    }
}
