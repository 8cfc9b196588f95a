#include "process/MyConsolePipe.h"

#include <string>

#include <gtest/gtest.h>

#include "base/Globals.h"
#include "tests/process/ChildProgram.h"
#include "tests/support/Paths.h"
#include "tools/testing/common/FileUtil.h"

namespace {

// The application's pipe as the launcher makes it, telling the test when it
// has deleted itself.
class WatchedAppPipe : public CMyConsolePipe {
public:
    explicit WatchedAppPipe(HANDLE gone) : CMyConsolePipe(PIPE_KIND_PROGRAM, 0), m_gone(gone) {}
    ~WatchedAppPipe() override { SetEvent(m_gone); }

private:
    HANDLE m_gone;
};

// Runs the child's verbs through a self-deleting application pipe and waits
// until the pipe is gone.
void RunApplication(const std::string& verbs) {
    HANDLE gone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ((new WatchedAppPipe(gone))->Execute(ChildCommand(verbs).c_str()), 0);
    EXPECT_EQ(WaitForSingleObject(gone, 30000), WAIT_OBJECT_0);
    CloseHandle(gone);
}

}  // namespace

TEST(MyConsolePipeTest, InDebugModeStandardOutputAndErrorLandInTheLogFileInOrderWithCrLfLineEnds) {
    std::string path = MakeTempFolder("process-logfile") + "log.txt";
    g_logFile.Open(path.c_str());
    g_logToFile = true;
    RunApplication("out " + Hex("first line\n") + " sleep 30 err " + Hex("error line\n") + " sleep 30 out " +
                   Hex("crlf line\r\nno end"));
    g_logToFile = false;
    g_logFile.Close();
    EXPECT_EQ(ReadWholeFile(path), "first line\r\nerror line\r\ncrlf line\r\r\nno end");
}

TEST(MyConsolePipeTest, WithoutDebugModeTheLogFileStaysUntouched) {
    std::string path = MakeTempFolder("process-nologfile") + "log.txt";
    g_logFile.Open(path.c_str());
    ASSERT_FALSE(g_logToFile);
    RunApplication("out " + Hex("not for the file\n"));
    g_logFile.Close();
    EXPECT_EQ(ReadWholeFile(path), "");
}

TEST(MyConsolePipeTest, ALargeOutputReachesTheLogFileWhole) {
    std::string path = MakeTempFolder("process-logfile-large") + "log.txt";
    g_logFile.Open(path.c_str());
    g_logToFile = true;
    RunApplication("bytes 1000");
    g_logToFile = false;
    g_logFile.Close();
    std::string expected;
    for (int i = 0; i < 1000; ++i) expected += static_cast<char>('a' + i % 26);
    EXPECT_EQ(ReadWholeFile(path), expected);
}
