// The application's console output under stress, through the real launcher:
// a flood of output, output that never ends, a grandchild that keeps the
// output pipe open after the application has gone, and a reader that lags
// behind when the application ends.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "base/Globals.h"
#include "base/PropertyIds.h"
#include "process/MyConsolePipe.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Dialogs.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Files.h"
#include "tests/support/Launcher.h"
#include "tests/support/Paths.h"
#include "tests/support/ProcessCounts.h"
#include "tests/support/SplashBmp.h"
#include "tools/testing/common/FileUtil.h"
#include "tools/testing/common/OutputPattern.h"

namespace {

// 50 MiB of pattern lines: about 20 s through the launcher here. Under a
// debugger each chunk of at most 255 bytes is one debug event, which makes
// 50 MiB take two and a half minutes; the debugger sees 5 MiB instead.
const long long kFloodLines = 50LL * 1024 * 1024 / kPatternLineLength;
const long long kDebuggerFloodLines = 5LL * 1024 * 1024 / kPatternLineLength;
// What a dying application prints last, on standard error.
const char kLastWords[] =
    "Exception in thread \"main\" java.lang.IllegalStateException: shutting down\n"
    "\tat app.Main.main(Main.java:42)\n";

// log.txt is written in text mode: each line feed is stored as CR LF.
std::string AsLogged(const std::string& printed) {
    std::string logged;
    logged.reserve(printed.size() + printed.size() / 32);
    for (char c : printed) {
        if (c == '\n') logged += '\r';
        logged += c;
    }
    return logged;
}

// Equal bytes, or where and how they differ (the texts are too long to print).
testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
    if (actual == expected) return testing::AssertionSuccess();
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    size_t from = at > 40 ? at - 40 : 0;
    return testing::AssertionFailure() << "size " << actual.size() << ", expected " << expected.size()
                                       << "; first difference at byte " << at << ": got \""
                                       << actual.substr(from, 100) << "\", expected \"" << expected.substr(from, 100)
                                       << "\"";
}

// The debugger-channel entries that are the application's output: every
// entry after the launcher logged the application's process creation (the
// launcher logs nothing of its own after that).
std::vector<std::string> AppChunks(const std::vector<std::string>& log) {
    std::vector<std::string> chunks;
    bool started = false;
    for (const std::string& entry : log) {
        if (started) chunks.push_back(entry);
        else if (entry.compare(0, 15, "CreateProcess: ") == 0 && entry.find(" -jar app.jar") != std::string::npos)
            started = true;
    }
    return chunks;
}

std::string Joined(const std::vector<std::string>& chunks) {
    std::string text;
    for (const std::string& chunk : chunks) text += chunk;
    return text;
}

// Every chunk has 1 to 255 bytes.
testing::AssertionResult ChunkSizesAreValid(const std::vector<std::string>& chunks) {
    for (size_t i = 0; i < chunks.size(); ++i)
        if (chunks[i].empty() || chunks[i].size() > 255)
            return testing::AssertionFailure() << "chunk " << i << " has " << chunks[i].size() << " bytes";
    return testing::AssertionSuccess();
}

// logged is log.txt after endless pattern output: the text-mode form of the
// first bytes of the pattern, cut where a chunk of the debugger channel
// ended (the file takes each chunk whole, just before the channel does, and
// the channel may go on after the file has been closed at the end).
testing::AssertionResult IsCleanPrefixOfThePattern(const std::string& logged, const std::vector<std::string>& chunks) {
    std::string expected = AsLogged(PatternLines(0, logged.size() / (kPatternLineLength + 1) + 2));
    testing::AssertionResult same = SameBytes(logged, expected.substr(0, logged.size()));
    if (!same) return same;
    size_t printed = 0;
    for (char c : logged)
        if (c != '\r') ++printed;
    size_t boundary = 0;
    for (const std::string& chunk : chunks) {
        if (boundary == printed) return testing::AssertionSuccess();
        boundary += chunk.size();
    }
    if (printed >= boundary && printed - boundary <= 255) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "log.txt holds " << printed << " printed bytes, which is no chunk's end ("
                                       << chunks.size() << " chunks, " << boundary << " bytes)";
}

// Runs the launcher as a plain process (no debugger) and waits up to
// timeoutMs; returns false when it did not start or did not end in time
// (it is then ended).
bool RunPlain(const std::string& exePath, const std::string& args, DWORD timeoutMs, DWORD* exitCode) {
    std::string folder = exePath.substr(0, exePath.find_last_of('\\') + 1);
    return RunAndWait("\"" + exePath + "\" " + args, folder, timeoutMs, exitCode);
}

class AppOutputFaultE2ETest : public testing::Test {
protected:
    // A launcher in build\tmp\faults-output-<name>\ whose bundled runtime
    // is the stand-in in jre\.
    std::string Prepare(const std::string& name, const StandInBehaviour& behaviour, std::map<int, std::string> props) {
        m_folder = MakeTempFolder("faults-output-" + name);
        m_home = m_folder + "jre";
        MakeFakeRuntime(m_home, behaviour);
        props[PROP_JRE_PATH] = "jre\\bin\\javaw.exe";
        props[PROP_START_JAR] = "app.jar";
        std::string splash = MakeSplashBmp();
        return PrepareLauncher(m_folder, props, "launcher.exe", props.count(PROP_SPLASH) ? &splash : nullptr);
    }
    std::string LogFile() {
        std::string content;
        EXPECT_TRUE(ReadWholeFile(m_folder + "log.txt", &content)) << "log.txt is missing";
        return content;
    }
    void TearDown() override {
        if (!m_home.empty()) EndStandIns(m_home);
    }

    std::string m_folder, m_home;
};

// A countdown that only the application's end can cut short.
const std::map<int, std::string> kLongSplash = {{PROP_SPLASH, "1"}, {PROP_SPLASH_TIMEOUT, "600"}};

StandInBehaviour Flood(long long lines) {
    StandInBehaviour behaviour;
    behaviour.patternLines = lines;
    behaviour.lastText = kLastWords;
    behaviour.exitCode = 3;
    return behaviour;
}

TEST_F(AppOutputFaultE2ETest, FiveMegabytesUnderADebuggerReachLogTxtAndTheChannelWholeAndTheLauncherReturnsTheExitCode) {
    std::string exe = Prepare("flood-debugger", Flood(kDebuggerFloodLines), kLongSplash);
    ASSERT_FALSE(exe.empty());
    RunOptions options;
    options.timeoutMs = 300000;
    ULONGLONG start = GetTickCount64();
    LaunchResult result = RunLauncher(exe, "-d", options);
    std::printf("5 MiB under the debugger: %llu ms, %zu log entries\n", GetTickCount64() - start, result.log.size());
    ASSERT_TRUE(result.started);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 3u);
    std::string printed = PatternLines(0, kDebuggerFloodLines) + kLastWords;
    EXPECT_TRUE(SameBytes(LogFile(), AsLogged(printed)));
    std::vector<std::string> chunks = AppChunks(result.log);
    EXPECT_TRUE(ChunkSizesAreValid(chunks));
    EXPECT_TRUE(SameBytes(Joined(chunks), printed));
}

TEST_F(AppOutputFaultE2ETest, FiftyMegabytesWithoutADebuggerReachLogTxtWholeAndTheLauncherReturnsTheExitCode) {
    std::string exe = Prepare("flood-plain", Flood(kFloodLines), kLongSplash);
    ASSERT_FALSE(exe.empty());
    DWORD exitCode = 0;
    ULONGLONG start = GetTickCount64();
    ASSERT_TRUE(RunPlain(exe, "-d", 400000, &exitCode)) << "the launcher did not end";
    std::printf("50 MiB without a debugger: %llu ms\n", GetTickCount64() - start);
    EXPECT_EQ(exitCode, 3u);
    EXPECT_TRUE(SameBytes(LogFile(), AsLogged(PatternLines(0, kFloodLines) + kLastWords)));
}

TEST_F(AppOutputFaultE2ETest, EndlessOutputWithTheSplashEndsTheLauncherAfterTheCountdownWithACleanPrefixInLogTxt) {
    StandInBehaviour behaviour;
    behaviour.patternLines = -1;
    // Once the launcher has gone and writes fail, the stand-in lives on
    // silently until the test ends it.
    behaviour.liveMs = 120000;
    std::string exe = Prepare("endless-splash", behaviour, {{PROP_SPLASH, "1"}, {PROP_SPLASH_TIMEOUT, "3"}});
    ASSERT_FALSE(exe.empty());
    LaunchResult result = RunLauncher(exe, "-d");
    ASSERT_TRUE(result.started);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, static_cast<DWORD>(STILL_ACTIVE));
    std::vector<std::string> chunks = AppChunks(result.log);
    std::string channel = Joined(chunks);
    std::string logged = LogFile();
    std::printf("endless output, 3 ticks: %zu bytes in log.txt, %zu on the channel in %zu chunks\n", logged.size(),
                channel.size(), chunks.size());
    EXPECT_TRUE(ChunkSizesAreValid(chunks));
    EXPECT_TRUE(SameBytes(channel, PatternLines(0, channel.size() / kPatternLineLength + 1).substr(0, channel.size())));
    EXPECT_GT(logged.size(), 0u);
    EXPECT_TRUE(IsCleanPrefixOfThePattern(logged, chunks));
    EXPECT_EQ(EndStandIns(m_home), 1) << "the application runs on";
}

TEST_F(AppOutputFaultE2ETest, EndlessOutputWithoutTheSplashEndsTheLauncherRightAfterTheStartWithACleanPrefixInLogTxt) {
    StandInBehaviour behaviour;
    behaviour.patternLines = -1;
    behaviour.liveMs = 120000;
    std::string exe = Prepare("endless-nosplash", behaviour, {});
    ASSERT_FALSE(exe.empty());
    LaunchResult result = RunLauncher(exe, "-d");
    ASSERT_TRUE(result.started);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    std::vector<std::string> chunks = AppChunks(result.log);
    std::string logged = LogFile();
    std::printf("endless output, no splash: %zu bytes in log.txt, %zu chunks on the channel\n", logged.size(),
                chunks.size());
    EXPECT_TRUE(ChunkSizesAreValid(chunks));
    EXPECT_TRUE(IsCleanPrefixOfThePattern(logged, chunks));
    EXPECT_EQ(EndStandIns(m_home), 1) << "the application runs on";
}

TEST_F(AppOutputFaultE2ETest, AGrandchildHoldingTheOutputPipeDoesNotKeepTheLauncherFromEndingWithTheExitCode) {
    StandInBehaviour behaviour;
    behaviour.stdoutText = "started\n";
    behaviour.lastText = kLastWords;
    behaviour.exitCode = 5;
    behaviour.grandchildLiveMs = 120000;
    std::string exe = Prepare("grandchild", behaviour, kLongSplash);
    ASSERT_FALSE(exe.empty());
    RunOptions options;
    options.timeoutMs = 60000;
    ULONGLONG start = GetTickCount64();
    LaunchResult result = RunLauncher(exe, "-d", options);
    std::printf("grandchild holding the pipe: the launcher took %llu ms\n", GetTickCount64() - start);
    ASSERT_TRUE(result.started);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 5u);
    EXPECT_TRUE(SameBytes(LogFile(), AsLogged(std::string("started\n") + kLastWords)));
    EXPECT_TRUE(SameBytes(Joined(AppChunks(result.log)), std::string("started\n") + kLastWords));

    // The grandchild still holds the pipe the launcher read from.
    unsigned long grandchild = WaitForGrandchild(m_home);
    ASSERT_NE(grandchild, 0u);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, grandchild);
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(WaitForSingleObject(process, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(process);
    EXPECT_EQ(EndStandIns(m_home), 1) << "only the grandchild is left";
}

// A debug-output viewer: it takes what every process of the session sends
// to the debugger channel while no debugger is attached, one text at a time,
// and a text's sender waits until the viewer is ready for it. After the
// launcher's first chunk of application output this one is not ready again
// for as long as hold() says, as a viewer that is busy or paused.
class SlowViewer {
public:
    explicit SlowViewer(const std::function<bool()>& hold) : m_hold(hold) {
        m_buffer = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, "DBWIN_BUFFER");
        m_alreadyThere = GetLastError() == ERROR_ALREADY_EXISTS;
        m_bufferReady = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_BUFFER_READY");
        m_dataReady = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY");
        m_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_view = m_buffer ? static_cast<const char*>(MapViewOfFile(m_buffer, FILE_MAP_READ, 0, 0, 4096)) : nullptr;
        if (Ready()) m_thread = std::thread([this] { Serve(); });
    }
    ~SlowViewer() {
        SetEvent(m_stop);
        if (m_thread.joinable()) m_thread.join();
        if (m_view) UnmapViewOfFile(m_view);
        for (HANDLE handle : {m_buffer, m_bufferReady, m_dataReady, m_stop})
            if (handle) CloseHandle(handle);
    }
    bool Ready() const { return m_view && !m_alreadyThere && m_bufferReady && m_dataReady && m_stop; }
    void SetLauncher(DWORD processId) { m_launcher = processId; }
    bool Held() const { return m_held; }
    // The launcher's application-output texts seen so far (after the view
    // has ended: all of them).
    std::vector<std::string> AppChunks() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_appChunks;
    }

private:
    void Serve() {
        bool appStarted = false;
        HANDLE waits[] = {m_dataReady, m_stop};
        for (;;) {
            SetEvent(m_bufferReady);
            if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) return;
            DWORD sender = *reinterpret_cast<const DWORD*>(m_view);
            std::string text(m_view + sizeof(DWORD), strnlen(m_view + sizeof(DWORD), 4096 - sizeof(DWORD)));
            if (sender != m_launcher) continue;
            if (!appStarted) {
                appStarted = text.compare(0, 15, "CreateProcess: ") == 0 && text.find(" -jar app.jar") != std::string::npos;
                continue;
            }
            {
                std::lock_guard<std::mutex> lock(m_lock);
                m_appChunks.push_back(text);
            }
            if (!m_held) {
                m_held = true;
                m_hold();
            }
        }
    }

    std::function<bool()> m_hold;
    HANDLE m_buffer = nullptr, m_bufferReady = nullptr, m_dataReady = nullptr, m_stop = nullptr;
    const char* m_view = nullptr;
    bool m_alreadyThere = false;
    std::atomic<DWORD> m_launcher{0};
    std::atomic<bool> m_held{false};
    std::mutex m_lock;
    std::vector<std::string> m_appChunks;
    std::thread m_thread;
};

TEST_F(AppOutputFaultE2ETest, TheLastWordsOfAnEndedApplicationReachLogTxtWhileTheOutputLagsBehind) {
    StandInBehaviour behaviour;
    // More than two chunks before the last words, so they travel in a later
    // chunk than the first two; all of it fits in the pipe at once.
    behaviour.stdoutText = PatternLines(0, 10);
    behaviour.lastText = kLastWords;
    behaviour.exitCode = 4;
    std::string exe = Prepare("lagging-reader", behaviour, kLongSplash);
    ASSERT_FALSE(exe.empty());

    // Once it has the first chunk, the viewer is not ready for the second
    // until the launcher has made up its mind about the application's end:
    // it has ended, or it has hidden the splash. The reader waits with the
    // second chunk (already in log.txt), the rest of the output waits in the
    // pipe, and the application has long ended.
    HANDLE launcher = nullptr;
    DWORD launcherId = 0;
    SlowViewer viewer([&] {
        return WaitUntil([&] {
            return WaitForSingleObject(launcher, 0) == WAIT_OBJECT_0 || FindProcessWindows(launcherId, true).empty();
        }, 30000);
    });
    ASSERT_TRUE(viewer.Ready()) << "another debug-output viewer is running";
    std::string commandLine = "\"" + exe + "\" -d";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // Started suspended, so that the viewer knows the launcher before it
    // sends anything.
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                               m_folder.c_str(), &startup, &process));
    launcher = process.hProcess;
    launcherId = process.dwProcessId;
    viewer.SetLauncher(process.dwProcessId);
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    bool ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 0xDEAD);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    ASSERT_TRUE(ended) << "the launcher did not end";
    EXPECT_TRUE(viewer.Held());
    EXPECT_EQ(exitCode, 4u);
    EXPECT_TRUE(SameBytes(LogFile(), AsLogged(behaviour.stdoutText + kLastWords)));
    EXPECT_TRUE(SameBytes(Joined(viewer.AppChunks()), behaviour.stdoutText + kLastWords));
    CloseHandle(process.hProcess);
}

// The application's pipe, telling the test when it has deleted itself.
class SignallingAppPipe : public CMyConsolePipe {
public:
    explicit SignallingAppPipe(HANDLE destroyed) : CMyConsolePipe(PIPE_KIND_PROGRAM, 0), m_destroyed(destroyed) {}
    ~SignallingAppPipe() override { SetEvent(m_destroyed); }

private:
    HANDLE m_destroyed;
};

// Debug mode for the test's own application-output sink: log.txt in folder,
// put back as it was (closed, off) when it goes.
class DebugModeForThisProcess {
public:
    explicit DebugModeForThisProcess(const std::string& folder) {
        g_logFile.Open((folder + "log.txt").c_str());
        g_logToFile = true;
    }
    ~DebugModeForThisProcess() {
        g_logToFile = false;
        g_logFile.Close();
    }
};

TEST(AppOutputPipeFaultTest, OneHundredApplicationPipesLeaveNoHandleAndNoMemoryBehind) {
    std::string folder = MakeTempFolder("faults-output-hundred-pipes");
    std::string home = folder + "jre";
    StandInBehaviour behaviour;
    behaviour.stdoutText = "x\n";
    MakeFakeRuntime(home, behaviour);
    std::string command = "\"" + home + "\\bin\\java.exe\" -jar app.jar";
    HANDLE destroyed = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ASSERT_NE(destroyed, nullptr);
    DebugModeForThisProcess debugMode(folder);

    // One run as the application would: a self-deleting pipe, the caller's
    // own process handle, closed by the caller.
    auto runOnce = [&](int run) {
        PROCESS_INFORMATION started = {};
        if ((new SignallingAppPipe(destroyed))->Execute(command.c_str(), &started) != 0) {
            ADD_FAILURE() << "run " << run << " did not start";
            return false;
        }
        bool ended = WaitForSingleObject(destroyed, 30000) == WAIT_OBJECT_0 &&
                     WaitForSingleObject(started.hProcess, 30000) == WAIT_OBJECT_0;
        CloseHandle(started.hProcess);
        if (!ended) ADD_FAILURE() << "run " << run << " did not end";
        return ended;
    };
    // Warm-up: the first process creations open handles and grow heaps that
    // the system keeps for the rest of the process.
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(runOnce(i));
    DWORD handlesBefore = HandleCount();
    SIZE_T bytesBefore = PrivateBytes();
    ASSERT_GT(bytesBefore, 0u);
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(runOnce(i));
    DWORD handlesAfter = HandleCount();
    SIZE_T bytesAfter = PrivateBytes();
    std::printf("100 application pipes: %lu handles before, %lu after; %lu private bytes before, %lu after\n",
                static_cast<unsigned long>(handlesBefore), static_cast<unsigned long>(handlesAfter),
                static_cast<unsigned long>(bytesBefore), static_cast<unsigned long>(bytesAfter));
    EXPECT_EQ(handlesAfter, handlesBefore);
    // 100 runs add up what each leaves: a reader thread left running, or a
    // kilobyte kept per run, comes to 100 KB or more. 64 KB leave room for
    // a heap that grows a little.
    EXPECT_LT(bytesAfter, bytesBefore + 64 * 1024);
    CloseHandle(destroyed);

    std::string logged;
    ASSERT_TRUE(ReadWholeFile(folder + "log.txt", &logged));
    std::string expected;
    for (int i = 0; i < 105; ++i) expected += "x\r\n";
    EXPECT_EQ(logged, expected);
}

}  // namespace
