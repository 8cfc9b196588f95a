// The console launcher (build\jarstart-console.exe) end to end: its standard
// handles are files, as after "Tool.exe < in > out 2> err", and the
// application is the stand-in runtime's java.exe.
#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "base/PropertyIds.h"
#include "tests/process/ChildProgram.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FakeJvm.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Launcher.h"
#include "tests/support/Paths.h"
#include "tests/support/ScopedEnvironment.h"

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct ToolRun {
    bool ended = false;
    DWORD exitCode = 0;
    std::string out, err;
};

class ConsoleLauncherE2ETest : public testing::Test {
protected:
    // Tool.exe in build\tmp\<name>\, whose bundled runtime is the stand-in
    // unless props name another, starting app.jar unless props name a class
    // or a module.
    std::string Prepare(const std::string& name, const StandInBehaviour& behaviour,
                        std::map<int, std::string> props = {}) {
        m_folder = MakeTempFolder(name);
        m_home = m_folder + "jre";
        MakeFakeRuntime(m_home, behaviour);
        props.emplace(PROP_JRE_PATH, "jre\\bin\\java.exe");
        if (!props.count(PROP_MAIN_CLASS) && !props.count(PROP_MAIN_MODULE)) props[PROP_START_JAR] = "app.jar";
        return PrepareLauncher(m_folder, props, "Tool.exe", nullptr, "jarstart-console.exe");
    }
    ToolRun Run(const std::string& exe, const std::string& args, const std::string& input = "", DWORD flags = 0,
                const std::function<void(DWORD)>& whileRunning = nullptr) {
        std::ofstream(m_folder + "in.bin", std::ios::binary) << input;
        ToolRun run;
        run.ended = RunWithFiles("\"" + exe + "\" " + args, m_folder, m_folder + "in.bin", m_folder + "out.bin",
                                 m_folder + "err.bin", 60000, &run.exitCode, flags, whileRunning);
        run.out = ReadBytes(m_folder + "out.bin");
        run.err = ReadBytes(m_folder + "err.bin");
        return run;
    }
    void TearDown() override {
        if (!m_home.empty()) EndStandIns(m_home);
    }

    std::string m_folder, m_home;
};

// A command-line tool's own switches are the tool's: the console launcher
// reads none of its own, with no property set, and the line reaches java.exe
// exactly as given.
TEST_F(ConsoleLauncherE2ETest, EveryArgumentReachesJavaExeAsGivenEvenTheLaunchersOwnSwitches) {
    std::string exe = Prepare("console-arguments", StandInBehaviour());
    ASSERT_FALSE(exe.empty());
    const char* const lines[] = {"one \"two words\" --help", "-d -p one", "-c /?  \"a\\\"b\""};
    for (const char* args : lines) {
        ToolRun run = Run(exe, args);
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(run.exitCode, 0u) << run.err;
        EXPECT_EQ(ReadRecordedRun(m_home, "java.exe").commandLine,
                  "\"" + m_home + "\\bin\\java.exe\"  -jar app.jar " + args);
        EXPECT_EQ(run.err, "") << args;
        EXPECT_EQ(GetFileAttributesA((m_folder + "log.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    }

    // A module on a module path with a blank, the same way.
    exe = Prepare("console-module", StandInBehaviour(),
                  {{PROP_MAIN_MODULE, "com.example.app/com.example.app.Main"}, {PROP_MODULE_PATH, "my mods"}});
    ASSERT_FALSE(exe.empty());
    ToolRun run = Run(exe, "one \"two three\"");
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(ReadRecordedRun(m_home, "java.exe").args,
              (std::vector<std::string>{"--module-path", "my mods", "-m", "com.example.app/com.example.app.Main", "one",
                                        "two three"}));
}

TEST_F(ConsoleLauncherE2ETest, InputReachesTheApplicationAndItsOutputTheCallersFilesByteForByte) {
    StandInBehaviour echo;
    echo.echoInput = true;
    std::string exe = Prepare("console-bytes", echo);
    ASSERT_FALSE(exe.empty());
    std::string bytes;
    for (int i = 0; i < 64 * 256; ++i) bytes.push_back(static_cast<char>(i & 0xFF));
    ToolRun run = Run(exe, "", bytes);
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.out == bytes) << run.out.size() << " bytes on standard output";
    EXPECT_TRUE(run.err == bytes) << run.err.size() << " bytes on standard error";
}

struct ExitCase {
    int exitCode;
    int liveMs;
};

class ConsoleExitE2ETest : public ConsoleLauncherE2ETest, public testing::WithParamInterface<ExitCase> {};

TEST_P(ConsoleExitE2ETest, TheLauncherEndsAfterTheApplicationWithItsExitCode) {
    StandInBehaviour behaviour;
    behaviour.exitCode = GetParam().exitCode;
    behaviour.liveMs = GetParam().liveMs;
    behaviour.lastText = "last words\n";
    std::string exe = Prepare("console-exit-" + std::to_string(GetParam().exitCode), behaviour);
    ASSERT_FALSE(exe.empty());
    ToolRun run = Run(exe, "");
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(GetParam().exitCode)) << run.err;
    EXPECT_EQ(run.err, "last words\n");
    EXPECT_TRUE(FindStandIns(m_home).empty()) << "the launcher returned before the application ended";
}

INSTANTIATE_TEST_SUITE_P(Codes, ConsoleExitE2ETest, testing::Values(ExitCase{0, 0}, ExitCase{3, 2000}, ExitCase{255, 0}),
                         [](const testing::TestParamInfo<ExitCase>& info) { return std::to_string(info.param.exitCode); });

// In-process (PROP_IN_PROCESS) the VM of the stand-in jvm.dll writes to the
// launcher's own handles, and the launcher's exit code is the application's.
TEST_F(ConsoleLauncherE2ETest, InProcessTheVmWritesToTheLaunchersOwnHandlesAndItsEndIsTheLaunchersEnd) {
    const struct {
        const char* behaviour;
        DWORD exitCode;
        const char* out;  // standard output exactly
        const char* err;  // found in standard error
    } cases[] = {
        {"return", 0, "out text", "err text"},
        {"throw", 1, "out text", "Exception in thread \"main\" java.lang.RuntimeException: "},
        {"exit:7", 7, "out text", "err text"},
        {"fail-init", 1, "", "Error occurred during initialization of VM"},
    };
    StandInBehaviour java17;
    java17.versionText = "openjdk version \"17.0.2\" 2022-01-18\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.behaviour);
        std::string exe = Prepare("console-inprocess", java17,
                                  {{PROP_IN_PROCESS, "1"},
                                   {PROP_APP_ID, "Example.Console.Tool"},
                                   {PROP_VM_PARAMS, std::string("-Djarstart.standin.main=") + c.behaviour +
                                                        " \"-Djarstart.standin.out=out text\" \"-Djarstart.standin.err=err text\""}});
        ASSERT_FALSE(exe.empty());
        UseJvmDllOf(static_cast<int>(sizeof(void*) * 8), m_home);
        DWORD processId = 0;
        ToolRun run = Run(exe, "one \"two words\"", "", 0, [&](DWORD id) { processId = id; });
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_EQ(run.out, c.out);
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        RecordedVm record = ReadRecordedVm(m_home);
        EXPECT_EQ(record.Value("processId"), std::to_string(processId));
        EXPECT_FALSE(ReadRecordedRun(m_home, "java.exe").found) << "no java.exe besides";
        if (std::string(c.behaviour) == "fail-init") continue;
        EXPECT_EQ(record.All("arg"), (std::vector<std::string>{"one", "two words"}));
        if (!record.Has("appIdUnknown")) {
            EXPECT_EQ(record.Value("appId"), "Example.Console.Tool");
        }
    }
}

TEST_F(ConsoleLauncherE2ETest, WhatTheGuiLauncherShowsInABoxIsOnStandardErrorWithTheSameExitCode) {
    const struct {
        const char* args;
        const char* jrePath;
        const char* mainClass;  // beside app.jar when not empty
        DWORD exitCode;
        int lines;        // on standard error, each ending in CR LF
        const char* err;  // how it starts: all of it but for the system's error text
    } cases[] = {
        {"", "none\\java.exe", "", 1, 3,
         "Tool.exe: This application cannot start since no appropriate JVM was found.\r\n"
         "Tool.exe: It is required to have JRE version 99 or higher installed on your computer.\r\n"
         "Tool.exe: Please go to https://adoptium.net/ for installation instructions.\r\n"},
        {"", "jre\\bin\\standin.cfg", "", 1, 2, "Tool.exe: Error occured while starting the application...\r\nTool.exe: "},
        {"", "jre\\bin\\java.exe", "com.example.Main", 1, 1,
         "Tool.exe: The launcher names more than one thing to start: PROP_START_JAR and PROP_MAIN_CLASS are set; it "
         "starts one of them.\r\n"},
    };
    for (const auto& c : cases) {
        std::map<int, std::string> props = {{PROP_JRE_PATH, c.jrePath}, {PROP_MIN_VERSION, "99"}};
        if (c.mainClass[0]) props = {{PROP_JRE_PATH, c.jrePath}, {PROP_START_JAR, "app.jar"}, {PROP_MAIN_CLASS, c.mainClass}};
        std::string exe = Prepare("console-messages", StandInBehaviour(), props);
        ASSERT_FALSE(exe.empty());
        ToolRun run = Run(exe, c.args);
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args;
        EXPECT_EQ(run.err.substr(0, strlen(c.err)), c.err);
        int lines = 0;
        for (size_t at = run.err.find("\r\n"); at != std::string::npos; at = run.err.find("\r\n", at + 2)) ++lines;
        EXPECT_EQ(lines, c.lines) << run.err;
        EXPECT_TRUE(run.err.size() >= 2 && run.err.compare(run.err.size() - 2, 2, "\r\n") == 0) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(ConsoleLauncherE2ETest, TheGuiLaunchersStepsRunTooLauncherPathsDiagnosticFileAndSingleInstance) {
    StandInBehaviour behaviour;
    behaviour.liveMs = 30000;
    std::string exe = Prepare("console-steps", behaviour, {{PROP_SINGLE_INSTANCE, "Console Tool"}});
    ASSERT_FALSE(exe.empty());
    std::ofstream(exe + ".vmoptions", std::ios::binary) << "-Dhome=%JARSTART_EXEDIR%";
    ScopedEnvironment environment;
    // A parent launcher's values must not reach this one's application.
    environment.Set("JARSTART_EXEDIR", "C:\\parent");
    environment.Set("JARSTART_LOG", (m_folder + "diag.log").c_str());
    ToolRun second;
    ToolRun first = Run(exe, "", "", 0, [&](DWORD) {
        if (!WaitForRecordedRun(m_home, "java.exe").found) return;
        // The second launcher's own diagnostic log, apart from the first's.
        environment.Set("JARSTART_LOG", (m_folder + "diag2.log").c_str());
        second.ended = RunWithFiles("\"" + exe + "\"", m_folder, m_folder + "in.bin", m_folder + "out2.bin",
                                    m_folder + "err2.bin", 60000, &second.exitCode);
        second.err = ReadBytes(m_folder + "diag2.log");
        EndStandIns(m_home);
    });
    ASSERT_TRUE(first.ended);
    std::string folder = m_folder.substr(0, m_folder.size() - 1);
    RecordedRun run = ReadRecordedRun(m_home, "java.exe");
    EXPECT_EQ(run.commandLine, "\"" + m_home + "\\bin\\java.exe\" -Dhome=" + folder + "  -jar app.jar ");
    EXPECT_EQ(run.env["JARSTART_EXEDIR"], folder);
    EXPECT_NE(ReadBytes(m_folder + "diag.log").find("Launcher executed with command line: "), std::string::npos);
    ASSERT_TRUE(second.ended) << "no second launcher was run";
    EXPECT_EQ(second.exitCode, 0u) << second.err;
    EXPECT_NE(second.err.find("Application is already running."), std::string::npos) << second.err;
    EXPECT_EQ(second.err.find("Jre path: "), std::string::npos) << second.err;
}

// The launcher gets a console of its own; once the application is up, a
// child of this program joins that console and presses Ctrl+C there. (Wine
// raises no Ctrl+Break at all; the launcher ignores both alike.)
TEST_F(ConsoleLauncherE2ETest, CtrlCReachesTheApplicationAndTheLauncherReturnsItsExitCode) {
    StandInBehaviour behaviour;
    behaviour.interruptExitCode = 42;
    behaviour.liveMs = 30000;
    std::string exe = Prepare("console-interrupt", behaviour);
    ASSERT_FALSE(exe.empty());
    DWORD interrupter = 0;
    ToolRun run = Run(exe, "", "", CREATE_NEW_CONSOLE, [&](DWORD launcherId) {
        if (!WaitForRecordedRun(m_home, "java.exe").found) return;
        std::string verbs = "interrupt " + std::to_string(launcherId) + " " + std::to_string(CTRL_C_EVENT);
        RunAndWait(ChildCommand(verbs), "", 30000, &interrupter);
    });
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(interrupter, 0u);
    EXPECT_EQ(run.exitCode, 42u) << run.err;
    EXPECT_EQ(run.out, "interrupted by Ctrl+C\n");
}

}  // namespace
