#include "base/LogFile.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <windows.h>

#include <gtest/gtest.h>

#include "base/Globals.h"
#include "tests/support/Paths.h"
#include "tools/testing/common/FileUtil.h"

namespace {

// Reads the file through a handle of our own while the log may hold it open.
std::string ReadShared(const std::string& path) {
    std::string content;
    return ReadWholeFile(path, &content) ? content : "<missing>";
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::string Chunk(int number) {
    char text[32];
    std::snprintf(text, sizeof text, "chunk %06d|", number);
    return text;
}

// How many whole chunks 0, 1, 2, ... the text holds in order; -1 when it
// holds anything else (a cut chunk, a gap, a repeat).
int CountChunksInOrder(const std::string& text) {
    size_t chunkLength = Chunk(0).size();
    if (text.size() % chunkLength != 0) return -1;
    int count = static_cast<int>(text.size() / chunkLength);
    for (int i = 0; i < count; ++i) {
        if (text.compare(static_cast<size_t>(i) * chunkLength, chunkLength, Chunk(i)) != 0) return -1;
    }
    return count;
}

struct Writer {
    LogFile* log;
    std::atomic<int> completed{0};
    std::atomic<bool> stop{false};
    HANDLE reached;  // set once `threshold` chunks are written
    int threshold;
};

DWORD WINAPI WriteChunksUntilStopped(LPVOID parameter) {
    Writer* writer = static_cast<Writer*>(parameter);
    for (int i = 0; !writer->stop.load(); ++i) {
        writer->log->Write(Chunk(i).c_str());
        if (writer->completed.fetch_add(1) + 1 == writer->threshold) SetEvent(writer->reached);
    }
    return 0;
}

const char kExitChildVariable[] = "JARSTART_LOGFILE_EXIT_CHILD";

}  // namespace

TEST(LogFileTest, OpeningTruncatesAnExistingFileAndEachChunkIsInTheFileAtOnce) {
    std::string path = MakeTempFolder("logfile-open") + "log.txt";
    WriteBytes(path, "old content that must go");
    LogFile log;
    log.Open(path.c_str());
    ASSERT_TRUE(log.IsOpen());
    EXPECT_EQ(ReadShared(path), "");
    // Children are started with inheritance on; none may hold the file.
    DWORD flags = 0;
    ASSERT_TRUE(GetHandleInformation(log.SystemHandle(), &flags));
    EXPECT_EQ(flags & HANDLE_FLAG_INHERIT, 0u);
    log.Write("first");
    EXPECT_EQ(ReadShared(path), "first");
    log.Write(" second");
    EXPECT_EQ(ReadShared(path), "first second");
    log.Close();
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(ReadShared(path), "first second");
}

TEST(LogFileTest, TextModeStoresEachLineFeedAsCarriageReturnAndLineFeed) {
    std::string path = MakeTempFolder("logfile-textmode") + "log.txt";
    LogFile log;
    log.Open(path.c_str());
    log.Write("one\ntwo\r\nthree");
    log.Write(nullptr);
    log.Close();
    EXPECT_EQ(ReadShared(path), "one\r\ntwo\r\r\nthree");
}

TEST(LogFileTest, OtherProgramsMayReadAndWriteTheFileWhileItIsOpen) {
    std::string path = MakeTempFolder("logfile-share") + "log.txt";
    LogFile log;
    log.Open(path.c_str());
    HANDLE other = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(other, INVALID_HANDLE_VALUE);
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    log.Close();
}

TEST(LogFileTest, AFailedOpenIsSilentAndLaterWritesDoNothing) {
    std::string folder = MakeTempFolder("logfile-failed");
    std::string path = folder + "no such folder\\log.txt";
    LogFile log;
    log.Open(path.c_str());
    EXPECT_FALSE(log.IsOpen());
    log.Write("lost");
    log.Close();
    EXPECT_EQ(ReadShared(path), "<missing>");
}

TEST(LogFileTest, ClosingWhileAnotherThreadWritesKeepsEveryChunkHandedOverAndTakesNoneAfter) {
    std::string path = MakeTempFolder("logfile-race") + "log.txt";
    LogFile log;
    log.Open(path.c_str());
    Writer writer;
    writer.log = &log;
    writer.threshold = 300;
    writer.reached = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, WriteChunksUntilStopped, &writer, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(writer.reached, 30000), WAIT_OBJECT_0);

    int completedBeforeClose = writer.completed.load();
    log.Close();
    std::string atClose = ReadShared(path);
    // The writer goes on after the close; none of that may reach the file.
    int completedAtClose = writer.completed.load();
    while (writer.completed.load() < completedAtClose + 200) Sleep(0);
    writer.stop = true;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(writer.reached);

    int inFile = CountChunksInOrder(atClose);
    EXPECT_GE(inFile, completedBeforeClose);
    EXPECT_EQ(ReadShared(path), atClose);
}

// Ends the launcher the way the start-up watch does, exit(0) from the main
// thread, while a second thread keeps writing chunks into g_logFile the way
// the application's pipe does. Run as a child of the test below.
static void RunExitChild(const std::string& path) {
    g_logFile.Open(path.c_str());
    static Writer writer;
    writer.log = &g_logFile;
    writer.threshold = 500;
    writer.reached = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CreateThread(nullptr, 0, WriteChunksUntilStopped, &writer, 0, nullptr);
    WaitForSingleObject(writer.reached, 30000);
    int completed = writer.completed.load();
    FILE* count = std::fopen((path + ".count").c_str(), "w");
    std::fprintf(count, "%d", completed);
    std::fclose(count);
    std::exit(0);
}

TEST(LogFileTest, EndingTheProcessWhileTheReaderWritesNeitherCrashesNorLosesAHandedOverChunk) {
    char childPath[MAX_PATH] = {};
    if (GetEnvironmentVariableA(kExitChildVariable, childPath, MAX_PATH) > 0) RunExitChild(childPath);

    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder = MakeTempFolder("logfile-exit");
    for (int run = 0; run < 5; ++run) {
        std::string path = folder + "log" + std::to_string(run) + ".txt";
        SetEnvironmentVariableA(kExitChildVariable, path.c_str());
        std::string command = std::string("\"") + self +
                              "\" --gtest_filter=LogFileTest.EndingTheProcessWhileTheReaderWritesNeitherCrashesNorLosesAHandedOverChunk";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                      nullptr, &startup, &process);
        SetEnvironmentVariableA(kExitChildVariable, nullptr);
        ASSERT_TRUE(started);
        WaitForSingleObject(process.hProcess, 60000);
        DWORD exitCode = 1234;
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);

        EXPECT_EQ(exitCode, 0u) << "run " << run;
        std::string content = ReadShared(path);
        int inFile = CountChunksInOrder(content);
        int handedOver = std::atoi(ReadShared(path + ".count").c_str());
        EXPECT_GE(handedOver, 500) << "run " << run;
        EXPECT_GE(inFile, handedOver) << "run " << run << ", file ends with: "
                                      << content.substr(content.size() > 40 ? content.size() - 40 : 0);
    }
}
