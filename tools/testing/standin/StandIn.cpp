// A stand-in for a Java runtime's java.exe / javaw.exe, for tests of the
// launcher. It does what the behaviour file beside it (standin.cfg) says:
// answers -version on standard error like a real runtime, and otherwise
// records how it was started, prints (fixed texts or numbered pattern lines,
// up to forever), echoes its input, leaves a grandchild holding its output,
// shows a window, reports Ctrl+C and exits with a chosen code. Built once as a console program (java.exe) and
// once as a GUI program (javaw.exe) from this one source.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "tools/testing/common/FileUtil.h"
#include "tools/testing/common/KeyValueFile.h"
#include "tools/testing/common/OutputPattern.h"

namespace {

struct Behaviour {
    std::string versionText = "java version \"1.6.0_03\"\n";
    int versionDelayMs = 0;
    std::string stdoutText;
    std::string stderrText;
    int windowAfterMs = -1;
    std::string windowTitle = "Stand-in application";
    std::string messageBoxText;
    std::string messageBoxCaption;
    int exitCode = 0;
    int liveMs = 0;
    long long patternLines = 0;
    std::string lastText;
    int grandchildLiveMs = -1;
    bool echoInput = false;
    int interruptExitCode = -1;
};

const char kWindowClass[] = "JarstartStandInWindow";
const UINT_PTR kShowTimer = 1;

Behaviour ReadBehaviour(const std::string& path) {
    Behaviour b;
    std::string content;
    if (!ReadWholeFile(path, &content)) return b;
    KeyValues v = ParseKeyValues(content);
    b.versionText = FindValue(v, "versionText", b.versionText);
    b.versionDelayMs = atoi(FindValue(v, "versionDelayMs", "0").c_str());
    b.stdoutText = FindValue(v, "stdoutText");
    b.stderrText = FindValue(v, "stderrText");
    b.windowAfterMs = atoi(FindValue(v, "windowAfterMs", "-1").c_str());
    b.windowTitle = FindValue(v, "windowTitle", b.windowTitle);
    b.messageBoxText = FindValue(v, "messageBoxText");
    b.messageBoxCaption = FindValue(v, "messageBoxCaption");
    b.exitCode = atoi(FindValue(v, "exitCode", "0").c_str());
    b.liveMs = atoi(FindValue(v, "liveMs", "0").c_str());
    b.patternLines = _atoi64(FindValue(v, "patternLines", "0").c_str());
    b.lastText = FindValue(v, "lastText");
    b.grandchildLiveMs = atoi(FindValue(v, "grandchildLiveMs", "-1").c_str());
    b.echoInput = FindValue(v, "echoInput") == "1";
    b.interruptExitCode = atoi(FindValue(v, "interruptExitCode", "-1").c_str());
    return b;
}

// Like a real runtime, the first argument is what follows the program name
// as the C runtime splits it: a quoted name ends at its closing quote, an
// unquoted one at the first blank. So a home folder with blanks passed
// without quotes does not count as a version request.
bool IsVersionRequest(const char* commandLine) {
    const char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p) ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    static const char kSwitch[] = "-version";
    size_t n = sizeof(kSwitch) - 1;
    return strncmp(p, kSwitch, n) == 0 && (p[n] == '\0' || p[n] == ' ' || p[n] == '\t');
}

// Raw bytes to a standard handle, as given by the parent (a GUI program has
// no console, only the handles it was started with). WriteFile is
// unbuffered, so nothing needs flushing. False when a write failed (the
// reader has gone).
bool WriteToStdHandle(DWORD which, const std::string& text) {
    HANDLE handle = GetStdHandle(which);
    if (text.empty() || handle == nullptr || handle == INVALID_HANDLE_VALUE) return true;
    size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        if (!WriteFile(handle, text.data() + done, static_cast<DWORD>(text.size() - done), &written, nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

// count pattern lines on standard output, a block at a time; a negative
// count writes until a write fails, as a chatty application does until its
// reader goes away.
void WritePatternLines(long long count) {
    const long long kBlockLines = 1024;
    for (long long first = 0; count < 0 || first < count; first += kBlockLines) {
        long long lines = count < 0 || count - first > kBlockLines ? kBlockLines : count - first;
        if (!WriteToStdHandle(STD_OUTPUT_HANDLE, PatternLines(first, lines))) return;
    }
}

// Standard input, as it comes, to standard output and to standard error,
// until it ends.
void EchoInput() {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(input, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        std::string chunk(buffer, read);
        WriteToStdHandle(STD_OUTPUT_HANDLE, chunk);
        WriteToStdHandle(STD_ERROR_HANDLE, chunk);
    }
}

int g_interruptExitCode = -1;

// Says on standard output which interrupt came and ends with the chosen code,
// as a tool that cleans up on Ctrl+C does.
BOOL WINAPI OnInterrupt(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    WriteToStdHandle(STD_OUTPUT_HANDLE, event == CTRL_C_EVENT ? "interrupted by Ctrl+C\n" : "interrupted by Ctrl+Break\n");
    ExitProcess(static_cast<UINT>(g_interruptExitCode));
}

const char kGrandchildSwitch[] = " -standin-grandchild ";

// The grandchild: holds the standard handles it inherited for ms
// milliseconds and prints nothing. False when this run is not the grandchild.
bool IsGrandchild(const char* commandLine, int* ms) {
    const char* found = strstr(commandLine, kGrandchildSwitch);
    if (!found) return false;
    *ms = atoi(found + sizeof(kGrandchildSwitch) - 1);
    return true;
}

// Starts this program again as a grandchild that inherits our standard
// handles and keeps them open for liveMs, so that the parent's output pipe
// outlives us; its process id goes to <exe>.grandchild for the test that
// has to end it.
void StartGrandchild(const std::string& exePath, int liveMs) {
    HANDLE handles[] = {GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE),
                        GetStdHandle(STD_ERROR_HANDLE)};
    for (HANDLE handle : handles)
        if (handle && handle != INVALID_HANDLE_VALUE) SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = handles[0];
    startup.hStdOutput = handles[1];
    startup.hStdError = handles[2];
    std::string commandLine = "\"" + exePath + "\"" + kGrandchildSwitch + std::to_string(liveMs);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        return;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    WriteWholeFile(exePath + ".grandchild", FormatKeyValue("processId", std::to_string(process.dwProcessId)));
}

unsigned long long PreciseNow() {
    typedef VOID(WINAPI * PreciseTimeFn)(LPFILETIME);
    PreciseTimeFn precise = reinterpret_cast<PreciseTimeFn>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime"));
    FILETIME time;
    if (precise) precise(&time);
    else GetSystemTimeAsFileTime(&time);
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

std::string ToUtf8(const wchar_t* wide) {
    int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? size : 1, '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, wide, -1, &utf8[0], size, nullptr, nullptr);
    utf8.resize(strlen(utf8.c_str()));
    return utf8;
}

void WriteRecord(const std::string& path, unsigned long long entryTime) {
    std::string record = FormatKeyValue("commandLine", GetCommandLineA());
    // The ANSI line loses what this process's code page cannot show; the
    // UTF-8 form of the wide line keeps every character the parent passed.
    record += FormatKeyValue("commandLineUtf8", ToUtf8(GetCommandLineW()));
    // The arguments after the program name as a runtime's own parsing splits
    // the line (the system's rules for quotes and backslashes), one a line.
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args) {
        for (int i = 1; i < count; ++i) record += FormatKeyValue("arg", ToUtf8(args[i]));
        LocalFree(args);
    }
    char dir[MAX_PATH * 2] = "";
    GetCurrentDirectoryA(sizeof(dir), dir);
    record += FormatKeyValue("currentDir", dir);
    record += FormatKeyValue("entryTime", std::to_string(entryTime));
    char* block = GetEnvironmentStringsA();
    if (block) {
        for (const char* p = block; *p; p += strlen(p) + 1) record += FormatKeyValue("env", p);
        FreeEnvironmentStringsA(block);
    }
    WriteWholeFile(path, record);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kShowTimer) {
        KillTimer(window, kShowTimer);
        ShowWindow(window, SW_SHOWNORMAL);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Created hidden, shown by a timer, so the window exists (but is not
// visible) for the first afterMs milliseconds, as a slow application's
// window would.
HWND CreateApplicationWindow(const Behaviour& b) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, kWindowClass, b.windowTitle.c_str(), WS_OVERLAPPEDWINDOW, 100, 100, 320, 200,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) return nullptr;
    if (b.windowAfterMs == 0) ShowWindow(window, SW_SHOWNORMAL);
    else SetTimer(window, kShowTimer, static_cast<UINT>(b.windowAfterMs), nullptr);
    return window;
}

// Pumps messages (the window's timer needs them) until liveMs have passed.
void Live(int liveMs) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        DWORD elapsed = GetTickCount() - start;
        if (liveMs <= 0 || elapsed >= static_cast<DWORD>(liveMs)) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(liveMs) - elapsed, QS_ALLINPUT);
    }
}

int RunStandIn() {
    unsigned long long entryTime = PreciseNow();
    char exePath[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, exePath, MAX_PATH);
    std::string path(exePath, n);
    std::string folder = path.substr(0, path.find_last_of('\\') + 1);
    int grandchildMs = 0;
    if (IsGrandchild(GetCommandLineA(), &grandchildMs)) {
        Sleep(static_cast<DWORD>(grandchildMs));
        return 0;
    }
    Behaviour b = ReadBehaviour(folder + "standin.cfg");

    if (IsVersionRequest(GetCommandLineA())) {
        if (b.versionDelayMs > 0) Sleep(static_cast<DWORD>(b.versionDelayMs));
        WriteToStdHandle(STD_ERROR_HANDLE, b.versionText);
        return 0;
    }

    // Before the record: a test that waits for the record may interrupt.
    if (b.interruptExitCode >= 0) {
        g_interruptExitCode = b.interruptExitCode;
        SetConsoleCtrlHandler(OnInterrupt, TRUE);
    }
    WriteRecord(path + ".record", entryTime);
    if (b.echoInput) EchoInput();
    WriteToStdHandle(STD_OUTPUT_HANDLE, b.stdoutText);
    WriteToStdHandle(STD_ERROR_HANDLE, b.stderrText);
    if (b.patternLines != 0) WritePatternLines(b.patternLines);
    if (b.grandchildLiveMs >= 0) StartGrandchild(path, b.grandchildLiveMs);
    HWND window = b.windowAfterMs >= 0 ? CreateApplicationWindow(b) : nullptr;
    if (!b.messageBoxText.empty())
        MessageBoxA(nullptr, b.messageBoxText.c_str(), b.messageBoxCaption.c_str(), MB_OK);
    Live(b.liveMs);
    if (window) DestroyWindow(window);
    // Right before the end, where a dying application prints its last words.
    WriteToStdHandle(STD_ERROR_HANDLE, b.lastText);
    return b.exitCode;
}

}  // namespace

#ifdef STANDIN_GUI
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunStandIn(); }
#else
int main() { return RunStandIn(); }
#endif
