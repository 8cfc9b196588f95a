#include "process/ConsolePipe.h"

#include "base/CodePages.h"
#include "base/DiagnosticLog.h"
#include "framework/Array.h"
#include "framework/ScopedWin.h"
#include "framework/Text.h"

bool IsCommandLineTooLong(const char* commandLine) {
    // The system takes at most 32,767 UTF-16 characters with the final NUL.
    // Some CreateProcessA implementations cut a longer line instead of
    // failing, and a program started with a cut command line runs with
    // arguments nobody gave it.
    const int kLongestCommandLine = 32767;
    return MultiByteToWideChar(CP_ACP, 0, commandLine, -1, nullptr, 0) > kLongestCommandLine;
}

CConsolePipe::CConsolePipe(int interpreterKind, unsigned options)
    : m_processInfo(), m_options(options), m_interpreterKind(interpreterKind), m_readerThread(nullptr),
      m_process(nullptr), m_inputWrite(INVALID_HANDLE_VALUE), m_outputRead(INVALID_HANDLE_VALUE), m_lastError(0) {}

CConsolePipe::~CConsolePipe() { Close(); }

void CConsolePipe::OnOutput(const char*) {}

int CConsolePipe::Execute(const char* command, PROCESS_INFORMATION* started) {
    if (m_readerThread) {
        if (m_options & PIPE_INTERACTIVE) {
            Text line = Text(command ? command : "") + "\r\n";
            WriteInput(line.c_str());
            return 0;
        }
        m_lastError = ERROR_BUSY;
        return 2;
    }
    if (!command || !*command) {
        m_lastError = ERROR_INVALID_PARAMETER;
        return 1;
    }
    if (IsCommandLineTooLong(command)) {
        g_log << "CreateProcess: " << command << logEnd;
        m_lastError = ERROR_FILENAME_EXCED_RANGE;
        return 1;
    }

    ChildEnds child;
    // The caller's duplicate of the process handle: the caller's once the
    // start has succeeded, closed here otherwise.
    ScopedHandle callerProcess;
    int result = CreatePipes(child);
    if (result == 0) result = StartChild(command, child);
    if (result == 0) result = HandOutProcess(started, callerProcess);
    if (result == 0) result = StartReader();
    if (result == 0) {
        callerProcess.Release();
        return 0;
    }
    if (callerProcess.IsValid()) {
        callerProcess.Close();
        started->hProcess = nullptr;
    }
    // A child that started but cannot be watched is ended: the start is
    // reported as failed (the launcher shows its error and exits 1), and an
    // application left running with its output pipe closed would be one
    // the user was told had not started.
    if (m_process) TerminateProcess(m_process, 1);
    Close();
    return result;
}

int CConsolePipe::CreatePipes(ChildEnds& child) {
    // The child's ends must be inheritable so that it receives them; the
    // launcher keeps only non-inheritable duplicates of its own ends, or the
    // child would hold our read end open and the output pipe would never
    // break when the child ends.
    SECURITY_ATTRIBUTES inheritable = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    // Closed on return, before any child can inherit them.
    ScopedHandle outputRead, inputWrite;
    HANDLE self = GetCurrentProcess();
    if (!CreatePipe(outputRead.Receive(), child.output.Receive(), &inheritable, 0) ||
        !DuplicateHandle(self, child.output, self, child.error.Receive(), 0, TRUE, DUPLICATE_SAME_ACCESS) ||
        !CreatePipe(child.input.Receive(), inputWrite.Receive(), &inheritable, 0) ||
        !DuplicateHandle(self, outputRead, self, &m_outputRead, 0, FALSE, DUPLICATE_SAME_ACCESS) ||
        !DuplicateHandle(self, inputWrite, self, &m_inputWrite, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        m_lastError = GetLastError();
        // A failed DuplicateHandle may leave its target undefined.
        if (m_outputRead == nullptr) m_outputRead = INVALID_HANDLE_VALUE;
        if (m_inputWrite == nullptr) m_inputWrite = INVALID_HANDLE_VALUE;
        return 2;
    }
    return 0;
}

int CConsolePipe::StartChild(const char* command, ChildEnds& child) {
    g_log << "CreateProcess: " << command << logEnd;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = child.input;
    startup.hStdOutput = child.output;
    startup.hStdError = child.error;
    Array<char> commandLine(command, command + lstrlenA(command) + 1);
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NEW_PROCESS_GROUP, nullptr,
                        nullptr, &startup, &m_processInfo)) {
        m_lastError = GetLastError();
        return 1;
    }
    // The pipe never uses the child's primary thread.
    ScopedHandle primaryThread(m_processInfo.hThread);
    m_processInfo.hThread = nullptr;
    m_process = m_processInfo.hProcess;
    if (m_interpreterKind == 0 && (m_options & PIPE_INTERACTIVE)) {
        Text line = Text(command) + "\r\n";
        WriteInput(line.c_str());
    }
    // Only the child may hold the write end of the output pipe now, so
    // the reader sees the pipe break exactly when the child's side closes.
    child.output.Close();
    child.input.Close();
    child.error.Close();
    return 0;
}

int CConsolePipe::HandOutProcess(PROCESS_INFORMATION* started, ScopedHandle& callerProcess) {
    if (!started) return 0;
    // The caller's handle is its own duplicate: the pipe closes its
    // handle when the output ends, which may be at any moment from now.
    *started = m_processInfo;
    started->hThread = nullptr;
    HANDLE self = GetCurrentProcess();
    if (!DuplicateHandle(self, m_process, self, callerProcess.Receive(), 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        m_lastError = GetLastError();
        // A failed DuplicateHandle may leave its target undefined.
        callerProcess.Release();
        started->hProcess = nullptr;
        return 2;
    }
    started->hProcess = callerProcess;
    return 0;
}

int CConsolePipe::StartReader() {
    // Created suspended: a self-deleting pipe may be gone as soon as the
    // reader runs, so m_readerThread is stored before it can run and
    // nothing of the object is touched once it has been resumed.
    m_readerThread = CreateThread(nullptr, 0, ReaderThreadProc, this, CREATE_SUSPENDED, nullptr);
    if (!m_readerThread) {
        m_lastError = GetLastError();
        return 2;
    }
    if (ResumeThread(m_readerThread) == static_cast<DWORD>(-1)) {
        m_lastError = GetLastError();
        return 2;
    }
    return 0;
}

BOOL CConsolePipe::WriteInput(const char* text) {
    int length = lstrlenA(text);
    if (length == 0) return FALSE;
    Text converted;
    if (!(m_options & PIPE_RAW_TEXT) && OwnCodePagesAreUtf8()) {
        converted = ConvertCodePage(text, length, CP_ACP, SystemOemCodePage());
        length = static_cast<int>(converted.size());
        text = converted.c_str();
    } else if (!(m_options & PIPE_RAW_TEXT)) {
        converted.assign(text, length + 1);
        CharToOemA(text, &converted[0]);
        text = converted.c_str();
    }
    DWORD written = 0;
    return WriteFile(m_inputWrite, text, static_cast<DWORD>(length), &written, nullptr);
}

void CConsolePipe::Close() {
    if (m_readerThread) {
        DWORD code = 0;
        if (GetExitCodeThread(m_readerThread, &code) && code == STILL_ACTIVE) TerminateThread(m_readerThread, 0);
        CloseHandle(m_readerThread);
        m_readerThread = nullptr;
    }
    if (m_process) {
        CloseHandle(m_process);
        m_process = nullptr;
    }
    if (m_inputWrite != INVALID_HANDLE_VALUE) {
        CloseHandle(m_inputWrite);
        m_inputWrite = INVALID_HANDLE_VALUE;
    }
    if (m_outputRead != INVALID_HANDLE_VALUE) {
        CloseHandle(m_outputRead);
        m_outputRead = INVALID_HANDLE_VALUE;
    }
}

DWORD WINAPI CConsolePipe::ReaderThreadProc(LPVOID parameter) {
    CConsolePipe* pipe = static_cast<CConsolePipe*>(parameter);
    // One buffer for the whole run; each chunk is converted in place and
    // handed over without a copy.
    char buffer[256];
    for (;;) {
        DWORD read = 0;
        // A broken pipe is the normal end: every holder of the write end
        // has closed it.
        if (!ReadFile(pipe->m_outputRead, buffer, sizeof(buffer) - 1, &read, nullptr) || read == 0) break;
        buffer[read] = '\0';
        if (!(pipe->m_options & PIPE_RAW_TEXT) && OwnCodePagesAreUtf8()) {
            // Converting in place cannot grow the text, and a UTF-8 result
            // does: convert into a string from the child's code page.
            Text converted = ConvertCodePage(buffer, static_cast<int>(read), SystemOemCodePage(), CP_ACP);
            pipe->OnOutput(converted.c_str());
            continue;
        }
        if (!(pipe->m_options & PIPE_RAW_TEXT)) OemToCharA(buffer, buffer);
        pipe->OnOutput(buffer);
    }
    CloseHandle(pipe->m_readerThread);
    pipe->m_readerThread = nullptr;
    if (pipe->m_options & PIPE_KEEP_OBJECT) {
        // Idle before the null call, which is this thread's last use of the
        // object: its owner may destroy it as soon as it has seen the end.
        pipe->Close();
        pipe->OnOutput(nullptr);
    } else {
        pipe->OnOutput(nullptr);
        delete pipe;
    }
    return 1;
}
