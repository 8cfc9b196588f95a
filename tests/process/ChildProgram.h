#pragma once
// process_tests.exe doubles as the child the pipe tests start: run with
// "--child" and a list of verbs it acts them out in order (write bytes, echo
// its standard input, show a window, interrupt a console, run a launcher
// piece under a debugger,
// ...). Text travels in hex so that any byte survives the command line.
#include <windows.h>

#include <string>
#include <vector>

#include "process/ConsolePipe.h"
#include "tests/support/ProcessCounts.h"

// The full path of this test program.
std::string ThisProgram();
// "\"<program>\" --child <verbs>".
std::string ChildCommand(const std::string& verbs, const std::string& program = ThisProgram());
std::string Hex(const std::string& bytes);
std::string Unhex(const std::string& hex);

// Acts out the verbs after "--child" in commandLine; returns the exit code,
// or -1 when commandLine holds no "--child".
int RunChildMode(const char* commandLine);

// What a pipe handed to OnOutput, shared with the test thread.
class PipeRecord {
public:
    PipeRecord();
    ~PipeRecord();
    PipeRecord(const PipeRecord&) = delete;
    PipeRecord& operator=(const PipeRecord&) = delete;

    void AddChunk(const char* text);
    void AddEvent(const std::string& event);  // "null", "destroyed"
    std::vector<std::string> Chunks();
    std::vector<std::string> Events();
    std::string Text();  // the chunks joined
    // Waits until the text contains needle; false on time-out.
    bool WaitForText(const std::string& needle, DWORD timeoutMs);
    bool WaitEnded(DWORD timeoutMs);      // the null call came
    bool WaitDestroyed(DWORD timeoutMs);  // the pipe object was destroyed

private:
    CRITICAL_SECTION m_lock;
    std::vector<std::string> m_chunks;
    std::vector<std::string> m_events;
    HANDLE m_changed;    // auto-reset: something arrived
    HANDLE m_ended;      // manual-reset
    HANDLE m_destroyed;  // manual-reset
};

// A console pipe that records its output and its destruction.
class RecordingPipe : public CConsolePipe {
public:
    RecordingPipe(int interpreterKind, unsigned options, PipeRecord* record)
        : CConsolePipe(interpreterKind, options), m_record(record) {}
    ~RecordingPipe() override;
    void OnOutput(const char* text) override;

    // Idle: no reader, no process handle, both pipe ends closed; a
    // keep-object pipe is idle by its null call.
    bool IsIdle() const;
    bool WaitIdle(DWORD timeoutMs) const;
    HANDLE Process() const { return m_process; }

private:
    PipeRecord* m_record;
};

// Runs "<this program> --child <verbs>" and waits up to timeoutMs; returns
// its exit code, or false when it did not start or did not end in time (it
// is then ended).
bool RunChild(const std::string& verbs, DWORD timeoutMs, DWORD* exitCode);
