// The in-process start end to end: the real launcher loads the stand-in
// jvm.dll of a fake runtime, and the stand-in records what the VM was
// given, where main ran and how it ended.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "base/PropertyIds.h"
#include "tests/support/FakeJvm.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Files.h"
#include "tests/support/Launcher.h"
#include "tests/support/Paths.h"
#include "tests/support/Registry.h"
#include "tools/testing/common/FileUtil.h"
#include "tools/testing/standin-jvm/StandInJvm.h"

namespace {

const int kBits = static_cast<int>(sizeof(void*) * 8);
const int kOtherBits = kBits == 64 ? 32 : 64;

bool Contains(const std::vector<std::string>& list, const std::string& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

// The first recorded option that starts with prefix, without the prefix;
// "<none>" when there is none.
std::string OptionValue(const RecordedVm& record, const std::string& prefix) {
    for (const std::string& option : record.All("option"))
        if (option.compare(0, prefix.size(), prefix) == 0) return option.substr(prefix.size());
    return "<none>";
}

class InProcessStartE2ETest : public ::testing::Test {
protected:
    // launcher.exe in build\tmp\<name>\ with the fake runtime rt\ beside it
    // (a Java 17 by its version answer), the stand-in jvm.dll in each of
    // vmFolders, starting app.jar unless props name a class or a module.
    std::string Prepare(const std::string& name, std::map<int, std::string> props,
                        const std::vector<std::string>& vmFolders = {"server"},
                        const std::string& sourceExe = "jarstart.exe") {
        m_folder = MakeTempFolder(name);
        m_home = m_folder + "rt";
        StandInBehaviour behaviour;
        behaviour.versionText = "openjdk version \"17.0.2\" 2022-01-18\n";
        MakeFakeRuntime(m_home, behaviour);
        WriteReleaseFile(m_home, "JAVA_VERSION=\"17.0.2\"\n");
        for (const std::string& vm : vmFolders) UseJvmDllOf(kBits, m_home, vm);
        props.emplace(PROP_JRE_PATH, "rt\\bin\\javaw.exe");
        if (!props.count(PROP_MAIN_CLASS) && !props.count(PROP_MAIN_MODULE)) props.emplace(PROP_START_JAR, "app.jar");
        props.emplace(PROP_IN_PROCESS, "1");
        return PrepareLauncher(m_folder, props, "launcher.exe", nullptr, sourceExe);
    }
    std::string JvmDll(const std::string& vm = "server") const { return m_home + "\\bin\\" + vm + "\\jvm.dll"; }
    void TearDown() override {
        if (!m_home.empty()) EndStandIns(m_home);
    }

    JavaSoftRegistryGuard m_registry;
    std::string m_folder;
    std::string m_home;
};

TEST_F(InProcessStartE2ETest, TheVmRunsInTheLaunchersOwnProcessWithTheJarTheCommandAndTheHooks) {
    std::string exe = Prepare("inproc-own", {{PROP_VM_PARAMS, "-Xmx64m"}});
    LaunchResult result = RunLauncher(exe, "-p one two");
    EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
    EXPECT_GE(FindEntry(result.log, "In-process start: " + JvmDll()), 0) << JoinLog(result.log);

    RecordedVm record = ReadRecordedVm(m_home);
    ASSERT_TRUE(record.found) << JoinLog(result.log);
    EXPECT_EQ(record.Value("processId"), std::to_string(result.processId));
    EXPECT_EQ(record.Value("created"), "0");
    EXPECT_EQ(record.Value("runtimeDll"), m_home + "\\bin\\standinrt.dll");
    std::vector<std::string> options = record.All("option");
    EXPECT_TRUE(Contains(options, "-Xmx64m"));
    EXPECT_TRUE(Contains(options, "-Dsun.java.launcher=SUN_STANDARD"));
    std::string classPath = OptionValue(record, "-Djava.class.path=");
    EXPECT_NE(classPath.find("app.jar"), std::string::npos) << classPath;
    std::string command = OptionValue(record, "-Dsun.java.command=");
    EXPECT_NE(command.find("app.jar"), std::string::npos) << command;
    EXPECT_TRUE(command.size() > 8 && command.compare(command.size() - 8, 8, " one two") == 0) << command;
    std::vector<std::string> hooks = record.All("hook");
    std::sort(hooks.begin(), hooks.end());
    EXPECT_EQ(hooks, (std::vector<std::string>{"abort", "exit", "vfprintf"}));
    EXPECT_EQ(record.Value("ignoreUnrecognized"), "0");
    EXPECT_EQ(record.Value("launchMode"), "2");
    EXPECT_NE(record.Value("launchName").find("app.jar"), std::string::npos) << record.Value("launchName");
    EXPECT_EQ(record.All("arg"), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(record.Value("mainOnFirstThread"), "0");
    EXPECT_EQ(record.Value("mainEnded"), "returned");
    EXPECT_EQ(record.Value("destroyed"), "1");
    EXPECT_FALSE(ReadRecordedRun(m_home).found) << "no javaw.exe besides";
    EXPECT_TRUE(FindStandIns(m_home).empty());
}

TEST_F(InProcessStartE2ETest, JvmCfgsFirstKnownEntryElseServerElseClientChoosesTheVm) {
    const struct {
        const char* name;
        std::vector<std::string> folders;
        const char* jvmCfg;  // nullptr: none
        const char* chosen;
    } cases[] = {
        {"server first", {"server", "client"}, "# the VMs\n-server KNOWN\n-client IGNORE\n", "server"},
        {"client first", {"server", "client"}, "-client KNOWN\n-server KNOWN\n", "client"},
        {"an ignored entry skipped", {"server", "client"}, "-server IGNORE\n-client KNOWN\n", "client"},
        {"no jvm.cfg, both", {"server", "client"}, nullptr, "server"},
        {"client only, as a 32-bit Java 8", {"client"}, nullptr, "client"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string exe = Prepare("inproc-jvmcfg", {}, c.folders);
        if (c.jvmCfg) WriteJvmCfg(m_home, c.jvmCfg);
        LaunchResult result = RunLauncher(exe, "");
        EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
        EXPECT_GE(FindEntry(result.log, "In-process start: " + JvmDll(c.chosen)), 0) << JoinLog(result.log);
        EXPECT_EQ(ReadRecordedVm(m_home, c.chosen).Value("processId"), std::to_string(result.processId));
        for (const std::string& other : c.folders)
            if (other != c.chosen) {
                EXPECT_FALSE(ReadRecordedVm(m_home, other).found) << other;
            }
    }
}

TEST_F(InProcessStartE2ETest, AVmItCannotLoadFallsBackToTheChildProcessAndSaysWhy) {
    const struct {
        const char* name;
        int bits;
        bool runtimeDll;
        bool jvmDll;
        std::vector<std::string> reasonParts;
    } cases[] = {
        {"the other machine's jvm.dll", kOtherBits, true, true, {"jvm.dll"}},
        {"its runtime library missing", kBits, false, true, {"jvm.dll", "error 126"}},
        {"no jvm.dll", kBits, true, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string exe = Prepare("inproc-fallback", {}, {});
        if (c.jvmDll) UseJvmDllOf(c.bits, m_home, "server", c.runtimeDll);
        LaunchResult result = RunLauncher(exe, "-p x");
        EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
        int reason = FindEntry(result.log, "In-process start not possible: ");
        ASSERT_GE(reason, 0) << JoinLog(result.log);
        for (const std::string& part : c.reasonParts)
            EXPECT_NE(result.log[reason].find(part), std::string::npos) << result.log[reason];
        if (c.jvmDll) {
            EXPECT_NE(result.log[reason].find(JvmDll()), std::string::npos) << result.log[reason];
        }
        EXPECT_EQ(FindEntry(result.log, "In-process start: "), -1) << JoinLog(result.log);
        EXPECT_FALSE(ReadRecordedVm(m_home).Has("created")) << "the VM was not started";
        RecordedRun run = WaitForRecordedRun(m_home);
        ASSERT_TRUE(run.found) << "the child start, as without the property";
        EXPECT_EQ(run.args.back(), "x");
        EndStandIns(m_home);
    }
}

TEST_F(InProcessStartE2ETest, WithoutThePropertyTheChildStartsAsBeforeAndTheVmIsNeverLoaded) {
    std::string exe = Prepare("inproc-off", {{PROP_IN_PROCESS, ""}});
    LaunchResult result = RunLauncher(exe, "");
    EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
    EXPECT_EQ(FindEntry(result.log, "In-process start"), -1) << JoinLog(result.log);
    EXPECT_TRUE(WaitForRecordedRun(m_home).found);
    EXPECT_FALSE(ReadRecordedVm(m_home).found);
}

TEST_F(InProcessStartE2ETest, EveryOptionArrivesWholeAndTheJavaProgramsOwnOptionsStayBehind) {
    std::string exe = Prepare("inproc-options", {});
    // The options file replaces PROP_VM_PARAMS; its lines are joined with blanks.
    ASSERT_TRUE(WriteWholeFile(exe + ".vmoptions",
                               "\"-Dwith.blanks=a b  c\"\n-Xmx64m\n-client\n-server\n-splash:s.png\n"
                               "-XX:+UseG1GC \"-Dquoted=x \\\"y\\\"\"\n"));
    LaunchResult result = RunLauncher(exe, "");
    EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
    RecordedVm record = ReadRecordedVm(m_home);
    std::vector<std::string> options = record.All("option");
    for (const char* whole : {"-Dwith.blanks=a b  c", "-Xmx64m", "-XX:+UseG1GC", "-Dquoted=x \"y\""})
        EXPECT_TRUE(Contains(options, whole)) << whole;
    for (const char* javaOnly : {"-client", "-server", "-splash:s.png"}) {
        EXPECT_FALSE(Contains(options, javaOnly)) << javaOnly;
        EXPECT_GE(FindEntry(result.log, std::string("Not passed to the VM: ") + javaOnly), 0) << JoinLog(result.log);
    }
    EXPECT_EQ(record.Value("created"), "0") << record.Value("refusal");
}

TEST_F(InProcessStartE2ETest, AClassStartGetsItsExpandedClassPathAndAModuleStartItsModuleOptions) {
    std::string exe = Prepare("inproc-class", {{PROP_MAIN_CLASS, "com.example.Main"}, {PROP_CLASS_PATH, "lib\\*;extra.jar"}});
    CreateFolders(m_folder + "lib");
    ASSERT_TRUE(WriteWholeFile(m_folder + "lib\\a.jar", ""));
    ASSERT_TRUE(WriteWholeFile(m_folder + "lib\\b.jar", ""));
    LaunchResult result = RunLauncher(exe, "");
    EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
    RecordedVm record = ReadRecordedVm(m_home);
    std::string classPath = OptionValue(record, "-Djava.class.path=");
    EXPECT_EQ(classPath.find('*'), std::string::npos) << classPath;
    for (const char* entry : {"lib\\a.jar", "lib\\b.jar", "extra.jar"})
        EXPECT_NE(classPath.find(entry), std::string::npos) << entry << " in " << classPath;
    EXPECT_EQ(record.Value("launchMode"), "1");
    EXPECT_EQ(record.Value("launchName"), "com.example.Main");
    EXPECT_EQ(record.Value("mainClass"), "com/example/Main");

    exe = Prepare("inproc-module", {{PROP_MAIN_MODULE, "com.example.app/com.example.app.Main"}, {PROP_MODULE_PATH, "mods"}});
    CreateFolders(m_folder + "mods");
    result = RunLauncher(exe, "");
    EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
    record = ReadRecordedVm(m_home);
    EXPECT_NE(OptionValue(record, "--module-path=").find("mods"), std::string::npos) << OptionValue(record, "--module-path=");
    EXPECT_EQ(OptionValue(record, "-Djdk.module.main="), "com.example.app");
    EXPECT_EQ(record.Value("launchMode"), "3");
    EXPECT_EQ(record.Value("launchName").compare(0, 15, "com.example.app"), 0) << record.Value("launchName");
}

TEST_F(InProcessStartE2ETest, MainRunsOnAThreadOfItsOwnWithTheXssReservationOrTheVmsDefault) {
    const struct {
        const char* params;
        unsigned long long least;
    } cases[] = {
        {"-Xss4m", 4ull * 1024 * 1024},
        {"-Xmx64m", kBits == 64 ? 1024ull * 1024 : 320ull * 1024},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.params);
        std::string exe = Prepare("inproc-stack", {{PROP_VM_PARAMS, c.params}});
        LaunchResult result = RunLauncher(exe, "");
        EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
        RecordedVm record = ReadRecordedVm(m_home);
        EXPECT_EQ(record.Value("mainOnFirstThread"), "0");
        std::string reserve = record.Value("mainStackReserve");
        EXPECT_GE(std::stoull(reserve.empty() ? "0" : reserve), c.least);
    }
}

TEST_F(InProcessStartE2ETest, TheExitCodeIsTheApplicationsAndTheLauncherLivesUntilItsLastThreadEnds) {
    const struct {
        std::string behaviour;
        DWORD exitCode;
        const char* recordKey;  // what the stand-in recorded before the end
    } cases[] = {
        {"return", 0, "destroyed"},
        {"throw", 1, "mainEnded"},
        {"exit:7", 7, "exitHook"},
        {"thread:1500", 0, "threadEnded"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.behaviour);
        std::string exe = Prepare("inproc-exit", {{PROP_VM_PARAMS, StandInMainOption(c.behaviour)}});
        LaunchResult result = RunLauncher(exe, "");
        EXPECT_EQ(result.exitCode, c.exitCode) << JoinLog(result.log);
        RecordedVm record = ReadRecordedVm(m_home);
        EXPECT_TRUE(record.Has(c.recordKey)) << "recorded before the launcher ended";
        if (c.behaviour == "exit:7") {
            EXPECT_EQ(record.Value("exitHook"), "7");
        }
        if (c.behaviour == "thread:1500") {
            EXPECT_EQ(record.Value("destroyWaited"), "1");
        }
        EXPECT_TRUE(FindStandIns(m_home).empty()) << "no child process";
    }
}

TEST_F(InProcessStartE2ETest, AVmThatRefusesToStartShowsItsOwnTextAndEndsWith1) {
    for (bool startErrors : {true, false}) {
        SCOPED_TRACE(startErrors ? "PROP_SHOW_START_ERRORS" : "the error box");
        std::map<int, std::string> props = {{PROP_VM_PARAMS, StandInMainOption("fail-init")}};
        if (startErrors) props[PROP_SHOW_START_ERRORS] = "1";
        std::string exe = Prepare("inproc-refused", props);
        LaunchResult result = RunLauncher(exe, "");
        EXPECT_EQ(result.exitCode, 1u) << JoinLog(result.log);
        ASSERT_EQ(result.dialogs.size(), 1u) << JoinLog(result.log);
        EXPECT_NE(result.dialogs[0].text.find("Error occurred during initialization of VM"), std::string::npos)
            << result.dialogs[0].text;
        EXPECT_NE(result.dialogs[0].text.find("fail-init"), std::string::npos) << result.dialogs[0].text;
        EXPECT_FALSE(ReadRecordedRun(m_home).found) << "no child start after a refusal";
    }
}

TEST_F(InProcessStartE2ETest, TheProcessTakesTheApplicationIdBeforeTheVmStarts) {
    std::string exe = Prepare("inproc-appid", {{PROP_APP_ID, "Example.Quill.Editor"}});
    LaunchResult result = RunLauncher(exe, "");
    EXPECT_EQ(result.exitCode, 0u) << JoinLog(result.log);
    EXPECT_GE(FindEntry(result.log, "PROP_APP_ID: Example.Quill.Editor"), 0) << JoinLog(result.log);
    EXPECT_LT(FindEntry(result.log, "ERROR: Cannot set the application id."), 0) << JoinLog(result.log);
    RecordedVm record = ReadRecordedVm(m_home);
    // Where the system tells the id (Windows 7 and later), it is the one
    // the VM's process has.
    if (!record.Has("appIdUnknown")) {
        EXPECT_EQ(record.Value("appId"), "Example.Quill.Editor");
    }
}

// The application's window in the launcher's process; nullptr when none.
HWND FindApplicationWindow(DWORD processId) {
    HWND window = FindWindowA(STANDIN_JVM_WINDOW_CLASS, nullptr);
    DWORD owner = 0;
    if (window) GetWindowThreadProcessId(window, &owner);
    return owner == processId && IsWindowVisible(window) ? window : nullptr;
}

TEST_F(InProcessStartE2ETest, ASecondLauncherOfTheSameInstanceFindsTheLauncherRunningTheApplication) {
    std::string exe = Prepare("inproc-single", {{PROP_SINGLE_INSTANCE, "Quill Editor"},
                                                {PROP_VM_PARAMS, StandInMainOption("window:30000")}});
    LaunchResult first;
    std::thread running([&] { first = RunLauncher(exe, ""); });
    RecordedVm record = WaitForRecordedVm(m_home, "windowShown");
    DWORD processId = record.Has("processId") ? std::stoul(record.Value("processId")) : 0;
    HWND window = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (window = FindApplicationWindow(processId)) != nullptr; }, 20000));

    LaunchResult second = RunLauncher(exe, "-p another.txt");
    EXPECT_EQ(second.exitCode, 0u) << JoinLog(second.log);
    EXPECT_GE(FindEntry(second.log, "Application is already running."), 0) << JoinLog(second.log);
    EXPECT_EQ(FindEntry(second.log, "In-process start: "), -1) << JoinLog(second.log);

    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    running.join();
    EXPECT_EQ(first.exitCode, 0u) << JoinLog(first.log);
    EXPECT_EQ(first.processId, processId);
    EXPECT_EQ(ReadRecordedVm(m_home).Value("windowClosed"), "1");
}

}  // namespace
