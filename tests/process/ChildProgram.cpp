#include "tests/process/ChildProgram.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include <gtest/gtest.h>

#include "base/DiagnosticLog.h"
#include "base/Globals.h"
#include "process/AppStart.h"
#include "process/MyConsolePipe.h"
#include "process/StartupWatch.h"
#include "tests/support/ChildProcess.h"

std::string ThisProgram() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, n);
}

std::string ChildCommand(const std::string& verbs, const std::string& program) {
    return "\"" + program + "\" --child " + verbs;
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

std::string Unhex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::strtol(hex.substr(i, 2).c_str(), nullptr, 16));
    return bytes;
}

bool RunChild(const std::string& verbs, DWORD timeoutMs, DWORD* exitCode) {
    return RunAndWait(ChildCommand(verbs), std::string(), timeoutMs, exitCode);
}

// ---- PipeRecord / RecordingPipe -------------------------------------------

PipeRecord::PipeRecord()
    : m_changed(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      m_ended(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      m_destroyed(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    InitializeCriticalSection(&m_lock);
}

PipeRecord::~PipeRecord() {
    CloseHandle(m_changed);
    CloseHandle(m_ended);
    CloseHandle(m_destroyed);
    DeleteCriticalSection(&m_lock);
}

void PipeRecord::AddChunk(const char* text) {
    EnterCriticalSection(&m_lock);
    m_chunks.push_back(text);
    LeaveCriticalSection(&m_lock);
    SetEvent(m_changed);
}

void PipeRecord::AddEvent(const std::string& event) {
    EnterCriticalSection(&m_lock);
    m_events.push_back(event);
    LeaveCriticalSection(&m_lock);
    if (event == "null") SetEvent(m_ended);
    if (event == "destroyed") SetEvent(m_destroyed);
    SetEvent(m_changed);
}

std::vector<std::string> PipeRecord::Chunks() {
    EnterCriticalSection(&m_lock);
    std::vector<std::string> copy = m_chunks;
    LeaveCriticalSection(&m_lock);
    return copy;
}

std::vector<std::string> PipeRecord::Events() {
    EnterCriticalSection(&m_lock);
    std::vector<std::string> copy = m_events;
    LeaveCriticalSection(&m_lock);
    return copy;
}

std::string PipeRecord::Text() {
    std::string text;
    for (const std::string& chunk : Chunks()) text += chunk;
    return text;
}

bool PipeRecord::WaitForText(const std::string& needle, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (Text().find(needle) != std::string::npos) return true;
        DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) return false;
        WaitForSingleObject(m_changed, timeoutMs - spent);
    }
}

bool PipeRecord::WaitEnded(DWORD timeoutMs) { return WaitForSingleObject(m_ended, timeoutMs) == WAIT_OBJECT_0; }
bool PipeRecord::WaitDestroyed(DWORD timeoutMs) { return WaitForSingleObject(m_destroyed, timeoutMs) == WAIT_OBJECT_0; }

RecordingPipe::~RecordingPipe() { m_record->AddEvent("destroyed"); }

void RecordingPipe::OnOutput(const char* text) {
    if (text)
        m_record->AddChunk(text);
    else
        m_record->AddEvent("null");
}

bool RecordingPipe::IsIdle() const {
    return m_readerThread == nullptr && m_process == nullptr && m_inputWrite == INVALID_HANDLE_VALUE &&
           m_outputRead == INVALID_HANDLE_VALUE;
}

bool RecordingPipe::WaitIdle(DWORD timeoutMs) const {
    // The reader thread's last steps after the null call take no event we
    // could wait on, so this polls the pipe's own state.
    DWORD start = GetTickCount();
    while (!IsIdle()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(1);
    }
    return true;
}

// ---- the child's verbs ----------------------------------------------------

static void WriteAll(DWORD which, const std::string& bytes) {
    DWORD written = 0;
    WriteFile(GetStdHandle(which), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// Reads standard input until "\r\n" arrived or the input ended.
static std::string ReadLineFromInput() {
    std::string received;
    char c;
    DWORD read = 0;
    while (received.find("\r\n") == std::string::npos && ReadFile(GetStdHandle(STD_INPUT_HANDLE), &c, 1, &read, nullptr) &&
           read == 1)
        received += c;
    return received;
}

static void WaitForInputEnd() {
    char buffer[64];
    DWORD read = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    }
}

static HANDLE g_scenarioPipeGone = nullptr;

// The application's pipe, telling the scenario when it has deleted itself.
class SignallingAppPipe : public CMyConsolePipe {
public:
    SignallingAppPipe() : CMyConsolePipe(PIPE_KIND_PROGRAM, 0) {}
    ~SignallingAppPipe() override { SetEvent(g_scenarioPipeGone); }
};

static void ReportAtExit() {
    write("test: exit handlers ran");
    write(IsWindowVisible(g_splashWnd) ? "test: splash visible" : "test: splash hidden");
}

static BOOL WINAPI IgnoreInterrupt(DWORD) { return TRUE; }

static HWND CreateTestWindow(const char* title) {
    return CreateWindowExA(0, "STATIC", title, WS_POPUP, 10, 10, 120, 80, nullptr, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

int RunChildMode(const char* commandLine) {
    const char* marker = std::strstr(commandLine, " --child ");
    if (!marker) return -1;
    std::istringstream verbs(marker + 9);
    std::string verb;
    int exitCode = 0;
    while (verbs >> verb) {
        if (verb == "bytes") {  // bytes N: N pattern bytes to stdout in one write
            int count = 0;
            verbs >> count;
            std::string bytes;
            for (int i = 0; i < count; ++i) bytes += static_cast<char>('a' + i % 26);
            WriteAll(STD_OUTPUT_HANDLE, bytes);
        } else if (verb == "out" || verb == "err") {  // out HEX / err HEX
            std::string hex;
            verbs >> hex;
            WriteAll(verb == "out" ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE, Unhex(hex));
        } else if (verb == "echo-line") {  // what arrives on stdin up to CR LF, as hex
            WriteAll(STD_OUTPUT_HANDLE, "got:" + Hex(ReadLineFromInput()) + ";");
        } else if (verb == "wait-input-end") {
            WaitForInputEnd();
        } else if (verb == "cmdline") {
            WriteAll(STD_OUTPUT_HANDLE, GetCommandLineA());
        } else if (verb == "sleep") {
            int ms = 0;
            verbs >> ms;
            Sleep(ms);
        } else if (verb == "window") {  // window MS: hidden window, shown after MS (-1: never)
            int ms = 0;
            verbs >> ms;
            HWND window = CreateWindowExA(0, "STATIC", "application", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                          nullptr, GetModuleHandleA(nullptr), nullptr);
            if (ms >= 0) {
                Sleep(ms);
                ShowWindow(window, SW_SHOWNA);
            }
        } else if (verb == "interrupt") {  // interrupt PID EVENT: a console control event to all of PID's console
            DWORD processId = 0, event = 0;
            verbs >> processId >> event;
            FreeConsole();
            if (!AttachConsole(processId)) return 110;
            // The event reaches every process of the console, this one too.
            SetConsoleCtrlHandler(IgnoreInterrupt, TRUE);
            if (!GenerateConsoleCtrlEvent(event, 0)) return 111;
        } else if (verb == "exit") {
            verbs >> exitCode;
        } else if (verb == "scenario-empty") {
            CConsolePipe pipe(1, 0);
            int empty = pipe.Execute("");
            int none = pipe.Execute(nullptr);
            exitCode = empty * 10 + none;
        } else if (verb == "scenario-execute") {  // scenario-execute HEXCOMMAND: exit code = Execute's result
            std::string command;
            verbs >> command;
            CConsolePipe pipe(1, PIPE_KEEP_OBJECT);
            exitCode = pipe.Execute(Unhex(command).c_str());
        } else if (verb == "scenario-close-running") {
            // Stopping a reader by force is kept out of the test process.
            PipeRecord record;
            RecordingPipe* pipe = new RecordingPipe(1, PIPE_KEEP_OBJECT, &record);
            PROCESS_INFORMATION started = {};
            if (pipe->Execute(ChildCommand("out " + Hex("ready") + " wait-input-end exit 5").c_str(), &started) != 0)
                return 101;
            // A thread stopped while it still starts up (or while it is in
            // OnOutput) can take locks with it; stop it where a running pipe
            // spends its time, waiting in ReadFile.
            if (!record.WaitForText("ready", 30000)) return 105;
            Sleep(200);
            pipe->Close();
            if (!pipe->IsIdle()) return 102;
            if (WaitForSingleObject(started.hProcess, 30000) != WAIT_OBJECT_0) return 103;
            DWORD code = 0;
            GetExitCodeProcess(started.hProcess, &code);
            CloseHandle(started.hProcess);
            if (!record.Events().empty()) return 104;  // a forced stop makes no null call
            delete pipe;
            exitCode = static_cast<int>(code);
        } else if (verb == "scenario-start") {  // scenario-start HEXPATH HEXARGS
            std::string path, arguments;
            verbs >> path >> arguments;
            g_scenarioPipeGone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
            DWORD error = 0;
            if (StartApplication(Unhex(path).c_str(), Unhex(arguments).c_str(), new SignallingAppPipe(), &error) == 0) {
                WaitForSingleObject(g_scenarioPipeGone, 30000);
                CloseAppHandles();
                exitCode = 0;
            } else {
                g_log << "test: start error " << std::to_string(error) << logEnd;
                exitCode = 100;
            }
        } else if (verb == "scenario-watch") {  // scenario-watch COUNTDOWN WATCH HEXCHILDVERBS
            // The launch sequence's end with the splash on, at a quick tick.
            std::string childVerbs;
            verbs >> g_splashCountdown >> g_watchAppWindow >> childVerbs;
            g_splashActive = 1;
            g_splashWnd = CreateTestWindow("splash");
            ShowWindow(g_splashWnd, SW_SHOWNA);
            atexit(ReportAtExit);
            SetTimer(g_splashWnd, kStartupTimerId, 200, StartupTimerProc);
            if (StartApplication(ThisProgram().c_str(), (" --child " + Unhex(childVerbs)).c_str(),
                                 new CMyConsolePipe(PIPE_KIND_PROGRAM, 0)) != 0)
                return 100;
            MSG message;
            while (GetMessageA(&message, nullptr, 0, 0) != 0) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            CloseAppHandles();
            exitCode = static_cast<int>(g_appExitCode);
        } else {
            std::fprintf(stderr, "unknown child verb %s\n", verb.c_str());
            return 99;
        }
    }
    return exitCode;
}

int main(int argc, char** argv) {
    int childExit = RunChildMode(GetCommandLineA());
    if (childExit != -1) return childExit;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
