#pragma once
// A child process with its standard streams on pipes; its output is handed
// chunk by chunk to OnOutput on a reader thread of the pipe's own.
#include <windows.h>

#include "framework/ScopedWin.h"

// How the command reaches the child: as its command line (a program), or,
// for an interpreter started with PIPE_INTERACTIVE, also as the first line
// of its input.
enum ConsolePipeKind {
    PIPE_KIND_INTERPRETER = 0,
    PIPE_KIND_PROGRAM = 1,
};

// True when commandLine is longer than the system starts a program with; it
// must then be refused rather than handed to CreateProcessA, which may cut it.
bool IsCommandLineTooLong(const char* commandLine);

enum ConsolePipeOption : unsigned {
    PIPE_INTERACTIVE = 0x04,
    PIPE_KEEP_OBJECT = 0x08,
    PIPE_RAW_TEXT = 0x10,
};

class CConsolePipe {
public:
    CConsolePipe(int interpreterKind, unsigned options);
    virtual ~CConsolePipe();
    // Receives one chunk of output (at most 255 bytes, zero-terminated), or
    // nullptr once when the output has ended. Reader thread only.
    virtual void OnOutput(const char* text);

    // 0 started (or text sent to a running interactive child); 1 empty
    // command or CreateProcessA failed; 2 busy (not interactive), or pipe,
    // handle duplicate or thread creation failed (the pipe is then idle).
    // When started is given, it receives the caller's own duplicate of the
    // process handle (the caller closes it; hThread is null) and the ids,
    // before the reader thread may run: a self-deleting pipe must not be
    // read after a successful Execute.
    int Execute(const char* command, PROCESS_INFORMATION* started = nullptr);
    BOOL WriteInput(const char* text);
    void Close();
    // The Windows error of the last failed Execute, captured where it failed.
    DWORD GetLastStartError() const { return m_lastError; }

protected:
    static DWORD WINAPI ReaderThreadProc(LPVOID pipe);
    // Execute's step that gives the caller its own duplicate of the started
    // process's handle; 0, or 2 with m_lastError set. Virtual so that a test
    // can make it fail after the child has started.
    virtual int HandOutProcess(PROCESS_INFORMATION* started, ScopedHandle& callerProcess);

    PROCESS_INFORMATION m_processInfo;
    unsigned m_options;
    int m_interpreterKind;
    HANDLE m_readerThread;
    HANDLE m_process;
    HANDLE m_inputWrite;
    HANDLE m_outputRead;
    DWORD m_lastError;

private:
    // The child's ends of its standard streams; the pipe's own ends are
    // m_inputWrite and m_outputRead.
    struct ChildEnds {
        ScopedHandle input;
        ScopedHandle output;
        ScopedHandle error;
    };
    // The steps of Execute, each 0 or Execute's result for its failure, with
    // m_lastError set.
    int CreatePipes(ChildEnds& child);
    int StartChild(const char* command, ChildEnds& child);
    int StartReader();
};
