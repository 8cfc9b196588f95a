#pragma once
// A child process with its standard streams on pipes; its output is handed
// chunk by chunk to OnOutput on a reader thread of the pipe's own.
#include <windows.h>

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
    // command or CreateProcessA failed; 2 busy (not interactive), pipe or
    // thread creation failed. When started is given, it receives the
    // launcher's own duplicate of the process handle and the ids before the
    // reader thread starts; the caller closes that handle.
    int Execute(const char* command, PROCESS_INFORMATION* started = nullptr);
    BOOL WriteInput(const char* text);
    void Close();
    // The Windows error of the last failed Execute, captured where it failed.
    DWORD GetLastStartError() const { return m_lastError; }

protected:
    static DWORD WINAPI ReaderThreadProc(LPVOID pipe);

    PROCESS_INFORMATION m_processInfo;
    unsigned m_options;
    int m_interpreterKind;
    HANDLE m_readerThread;
    HANDLE m_process;
    HANDLE m_inputWrite;
    HANDLE m_outputRead;
    DWORD m_lastError;
};
