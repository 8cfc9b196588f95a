#include "process/ConsolePipe.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/process/ChildProgram.h"
#include "tests/support/Files.h"
#include "tools/jarstart-tool/Debuggee.h"

namespace {

const DWORD kWait = 30000;

std::vector<std::string> RunUnderDebugger(const std::string& verbs, DWORD* exitCode) {
    std::vector<std::string> entries;
    DebuggeeResult result =
        RunDebuggee(ChildCommand(verbs), nullptr, [&](const std::string& entry) { entries.push_back(entry); });
    EXPECT_TRUE(result.started) << "error " << result.error;
    *exitCode = result.exitCode;
    return entries;
}

bool StartsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

// Runs verbs as a child through a keep-object pipe and returns what arrived
// once the pipe is idle again.
std::string RunToEnd(RecordingPipe& pipe, PipeRecord& record, const std::string& verbs) {
    EXPECT_EQ(pipe.Execute(ChildCommand(verbs).c_str()), 0);
    EXPECT_TRUE(record.WaitEnded(kWait));
    EXPECT_TRUE(pipe.WaitIdle(kWait));
    return record.Text();
}

}  // namespace

TEST(ConsolePipeTest, AnEmptyOrMissingCommandReturnsOneAndLogsNothing) {
    DWORD exitCode = 0;
    std::vector<std::string> entries = RunUnderDebugger("scenario-empty", &exitCode);
    EXPECT_EQ(exitCode, 11u) << "Execute(\"\") * 10 + Execute(nullptr)";
    for (const std::string& entry : entries) EXPECT_FALSE(StartsWith(entry, "CreateProcess: ")) << entry;
}

TEST(ConsolePipeTest, AMissingProgramLogsTheCommandAndReturnsOne) {
    std::string command = "\"C:\\no such folder\\missing.exe\" -version";
    DWORD exitCode = 0;
    std::vector<std::string> entries = RunUnderDebugger("scenario-execute " + Hex(command), &exitCode);
    EXPECT_EQ(exitCode, 1u);
    std::vector<std::string> created;
    for (const std::string& entry : entries)
        if (StartsWith(entry, "CreateProcess: ")) created.push_back(entry);
    EXPECT_EQ(created, std::vector<std::string>{"CreateProcess: " + command});
}

TEST(ConsolePipeTest, AMissingProgramLeavesNoHandleOpenAndThePipeReusable) {
    PipeRecord record;
    RecordingPipe pipe(1, PIPE_KEEP_OBJECT, &record);
    // The system keeps a few handles open after the first failed program
    // search of a process; one warm-up leaves only the pipe's own to count.
    EXPECT_EQ(pipe.Execute("\"C:\\no such folder\\missing.exe\""), 1);
    DWORD before = HandleCount();
    EXPECT_EQ(pipe.Execute("\"C:\\no such folder\\missing.exe\""), 1);
    DWORD error = pipe.GetLastStartError();
    EXPECT_TRUE(error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND) << error;
    EXPECT_TRUE(pipe.IsIdle());
    EXPECT_EQ(HandleCount(), before);
    EXPECT_EQ(RunToEnd(pipe, record, "out " + Hex("again")), "again");
}

TEST(ConsolePipeTest, ALargeOutputArrivesInOrderInChunksOfAtMost255BytesThenOneNullCall) {
    PipeRecord record;
    RecordingPipe pipe(1, PIPE_KEEP_OBJECT, &record);
    std::string text = RunToEnd(pipe, record, "bytes 600");
    std::string expected;
    for (int i = 0; i < 600; ++i) expected += static_cast<char>('a' + i % 26);
    EXPECT_EQ(text, expected);
    std::vector<std::string> chunks = record.Chunks();
    EXPECT_GE(chunks.size(), 3u);
    for (const std::string& chunk : chunks) {
        EXPECT_GE(chunk.size(), 1u);
        EXPECT_LE(chunk.size(), 255u);
    }
    EXPECT_EQ(record.Events(), std::vector<std::string>{"null"});
}

TEST(ConsolePipeTest, ASilentChildCausesExactlyOneNullCall) {
    PipeRecord record;
    RecordingPipe pipe(1, PIPE_KEEP_OBJECT, &record);
    EXPECT_EQ(RunToEnd(pipe, record, "exit 3"), "");
    EXPECT_TRUE(record.Chunks().empty());
    EXPECT_EQ(record.Events(), std::vector<std::string>{"null"});
}

TEST(ConsolePipeTest, StandardErrorTakesTheSamePathAsStandardOutputInTheOrderWritten) {
    PipeRecord record;
    RecordingPipe pipe(1, PIPE_KEEP_OBJECT, &record);
    std::string text = RunToEnd(pipe, record,
                                "out " + Hex("first;") + " sleep 50 err " + Hex("second;") + " sleep 50 out " + Hex("third"));
    EXPECT_EQ(text, "first;second;third");
}

struct ConversionCase {
    unsigned options;
    std::string written;
    std::string expected;
};

class ConsolePipeConversionTest : public testing::TestWithParam<ConversionCase> {};

TEST_P(ConsolePipeConversionTest, OutputIsConvertedFromTheOemToTheAnsiCodePageUnlessRaw) {
    PipeRecord record;
    RecordingPipe pipe(1, PIPE_KEEP_OBJECT | GetParam().options, &record);
    EXPECT_EQ(Hex(RunToEnd(pipe, record, "out " + Hex(GetParam().written))), Hex(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Options, ConsolePipeConversionTest,
                         testing::Values(ConversionCase{0, "\x84", "\xE4"},
                                         ConversionCase{PIPE_RAW_TEXT, "\x84", "\x84"},
                                         ConversionCase{0, "plain ascii\r\n", "plain ascii\r\n"},
                                         ConversionCase{0, "\x81\x94", "\xFC\xF6"}));

TEST(ConsolePipeTest, ASecondExecuteOnARunningInteractivePipeWritesTheTextAndCrLfToTheChild) {
    PipeRecord record;
    RecordingPipe pipe(1, PIPE_INTERACTIVE | PIPE_KEEP_OBJECT, &record);
    ASSERT_EQ(pipe.Execute(ChildCommand("echo-line").c_str()), 0);
    // Input text goes from the ANSI to the OEM code page: 0xE4 becomes 0x84.
    EXPECT_EQ(pipe.Execute("hello \xE4"), 0);
    ASSERT_TRUE(record.WaitEnded(kWait));
    EXPECT_EQ(record.Text(), "got:" + Hex("hello \x84\r\n") + ";");
    EXPECT_TRUE(pipe.WaitIdle(kWait));
}

TEST(ConsolePipeTest, AnInteractivePipeOfInterpreterKindZeroAlsoSendsTheCommandToTheChildsInput) {
    PipeRecord record;
    RecordingPipe pipe(0, PIPE_INTERACTIVE | PIPE_KEEP_OBJECT | PIPE_RAW_TEXT, &record);
    std::string command = ChildCommand("echo-line");
    ASSERT_EQ(pipe.Execute(command.c_str()), 0);
    ASSERT_TRUE(record.WaitEnded(kWait));
    EXPECT_EQ(record.Text(), "got:" + Hex(command + "\r\n") + ";");
}

TEST(ConsolePipeTest, ASecondExecuteOnARunningNonInteractivePipeReturnsTwoAndLeavesTheChildAlone) {
    PipeRecord record;
    RecordingPipe pipe(1, PIPE_KEEP_OBJECT, &record);
    ASSERT_EQ(pipe.Execute(ChildCommand("echo-line").c_str()), 0);
    EXPECT_EQ(pipe.Execute("intruder"), 2);
    EXPECT_FALSE(pipe.IsIdle());
    // The child still waits for its first line, which is ours.
    EXPECT_TRUE(pipe.WriteInput("ping\r\n"));
    ASSERT_TRUE(record.WaitEnded(kWait));
    EXPECT_EQ(record.Text(), "got:" + Hex("ping\r\n") + ";");
}

TEST(ConsolePipeTest, WriteInputOfAnEmptyTextWritesNothingAndReturnsZero) {
    PipeRecord record;
    RecordingPipe pipe(1, PIPE_KEEP_OBJECT, &record);
    ASSERT_EQ(pipe.Execute(ChildCommand("echo-line").c_str()), 0);
    EXPECT_FALSE(pipe.WriteInput(""));
    EXPECT_TRUE(pipe.WriteInput("x\r\n"));
    ASSERT_TRUE(record.WaitEnded(kWait));
    EXPECT_EQ(record.Text(), "got:" + Hex("x\r\n") + ";");
}

TEST(ConsolePipeTest, ASelfDeletingPipeIsDestroyedRightAfterTheNullCall) {
    PipeRecord record;
    DWORD before = HandleCount();
    PROCESS_INFORMATION started = {};
    ASSERT_EQ((new RecordingPipe(1, 0, &record))->Execute(ChildCommand("out " + Hex("bye")).c_str(), &started), 0);
    ASSERT_TRUE(record.WaitDestroyed(kWait));
    EXPECT_EQ(record.Events(), (std::vector<std::string>{"null", "destroyed"}));
    EXPECT_EQ(record.Text(), "bye");
    // The caller's duplicate outlives the pipe and is the one handle left.
    EXPECT_NE(started.hProcess, nullptr);
    EXPECT_EQ(started.hThread, nullptr);
    EXPECT_NE(started.dwProcessId, 0u);
    EXPECT_EQ(WaitForSingleObject(started.hProcess, kWait), WAIT_OBJECT_0);
    DWORD processId = GetProcessId(started.hProcess);
    EXPECT_EQ(processId, started.dwProcessId);
    // The record hears of the destruction from the derived destructor, just
    // before the pipe's own destructor closes its handles on the reader thread.
    EXPECT_TRUE(WaitUntil([&] { return HandleCount() == before + 1; }, kWait)) << HandleCount() << " vs " << before;
    CloseHandle(started.hProcess);
}

TEST(ConsolePipeTest, AKeepObjectPipeIsIdleAfterTheOutputEndsAndRunsASecondCommand) {
    PipeRecord first, second;
    RecordingPipe pipe(1, PIPE_KEEP_OBJECT, &first);
    EXPECT_EQ(RunToEnd(pipe, first, "out " + Hex("one")), "one");
    EXPECT_TRUE(pipe.IsIdle());
    RecordingPipe other(1, PIPE_KEEP_OBJECT, &second);
    EXPECT_EQ(RunToEnd(other, second, "out " + Hex("two")), "two");
    // The same object again, after it went idle by itself.
    EXPECT_EQ(pipe.Execute(ChildCommand("out " + Hex("three")).c_str()), 0);
    EXPECT_TRUE(first.WaitForText("onethree", kWait));
    EXPECT_TRUE(pipe.WaitIdle(kWait));
}

TEST(ConsolePipeTest, ClosingARunningPipeStopsTheReaderAndTheChildSeesEndOfInput) {
    // Exit code 5 is the child's own: it saw its input end and the pipe was
    // idle without a null call (see scenario-close-running).
    // Run without a debugger and with a bounded wait: a thread stopped by
    // force may leave its process stuck, which must fail the test rather
    // than hang the suite.
    DWORD exitCode = 0;
    ASSERT_TRUE(RunChild("scenario-close-running", 60000, &exitCode)) << "the process did not end";
    EXPECT_EQ(exitCode, 5u);
}

TEST(ConsolePipeTest, OneHundredRunsLeaveNoHandleAndNoMemoryBehind) {
    PipeRecord record;
    RecordingPipe pipe(1, PIPE_KEEP_OBJECT, &record);
    // Warm-up runs: the first process creations open handles and grow heaps
    // that the system keeps for the rest of the process.
    for (int i = 0; i < 5; ++i) RunToEnd(pipe, record, "out " + Hex("."));
    DWORD before = HandleCount();
    SIZE_T bytesBefore = PrivateBytes();
    ASSERT_GT(bytesBefore, 0u);
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(pipe.Execute(ChildCommand("out " + Hex(".")).c_str()), 0) << "run " << i;
        ASSERT_TRUE(pipe.WaitIdle(kWait)) << "run " << i;
    }
    EXPECT_TRUE(record.WaitForText(std::string(105, '.'), kWait));
    EXPECT_EQ(HandleCount(), before);
    // 100 runs add up what each leaves: a reader thread left running, or a
    // kilobyte kept per run, comes to 100 KB or more. 64 KB leave room for
    // a heap that grows a little (the record keeps 100 small chunks).
    SIZE_T bytesAfter = PrivateBytes();
    EXPECT_LT(bytesAfter, bytesBefore + 64 * 1024) << bytesBefore << " private bytes before, " << bytesAfter << " after";
    EXPECT_EQ(record.Events().size(), 105u);
}

namespace {

// A keep-object pipe that notes, at its null call, whether it is idle then.
class IdleAtEndPipe : public CConsolePipe {
public:
    IdleAtEndPipe() : CConsolePipe(PIPE_KIND_PROGRAM, PIPE_KEEP_OBJECT), m_ended(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    void OnOutput(const char* text) override {
        if (text) return;
        m_idleAtEnd = !m_process && m_outputRead == INVALID_HANDLE_VALUE && m_inputWrite == INVALID_HANDLE_VALUE;
        SetEvent(m_ended);
    }
    ScopedHandle m_ended;
    bool m_idleAtEnd = false;
};

// A pipe whose hand-out step fails once the child has started.
class UnwatchablePipe : public CConsolePipe {
public:
    UnwatchablePipe() : CConsolePipe(PIPE_KIND_PROGRAM, PIPE_KEEP_OBJECT) {}
    int HandOutProcess(PROCESS_INFORMATION*, ScopedHandle&) override {
        HANDLE self = GetCurrentProcess();
        DuplicateHandle(self, m_process, self, m_child.Receive(), SYNCHRONIZE, FALSE, 0);
        m_lastError = ERROR_NOT_ENOUGH_MEMORY;
        return 2;
    }
    ScopedHandle m_child;
};

}  // namespace

TEST(ConsolePipeTest, AKeepObjectPipeIsIdleByItsNullCallSoItsOwnerMayDestroyItThen) {
    IdleAtEndPipe pipe;
    ASSERT_EQ(pipe.Execute(ChildCommand("out " + Hex("x")).c_str()), 0);
    ASSERT_EQ(WaitForSingleObject(pipe.m_ended, kWait), WAIT_OBJECT_0);
    EXPECT_TRUE(pipe.m_idleAtEnd);
}

TEST(ConsolePipeTest, AChildThatStartedButCannotBeWatchedIsEndedAndTheStartFails) {
    UnwatchablePipe pipe;
    PROCESS_INFORMATION started = {};
    EXPECT_EQ(pipe.Execute(ChildCommand("sleep 60000").c_str(), &started), 2);
    EXPECT_EQ(started.hProcess, nullptr);
    ASSERT_TRUE(pipe.m_child.IsValid());
    EXPECT_EQ(WaitForSingleObject(pipe.m_child, kWait), WAIT_OBJECT_0) << "the child runs on";
}
