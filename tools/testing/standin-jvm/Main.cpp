// What the stand-in application's main does, chosen by
// -Djarstart.standin.main= (StandInJvm.h), and what it records of the
// thread it runs on.
#include <windows.h>
#include <tlhelp32.h>

#include <mutex>
#include <string>
#include <vector>

#include "tools/testing/standin-jvm/Record.h"
#include "tools/testing/standin-jvm/StandInJvm.h"
#include "tools/testing/standin-jvm/Vm.h"

namespace {

std::mutex g_threadsLock;
std::vector<HANDLE> g_nonDaemonThreads;

// The bytes reserved for the calling thread's stack: every region of the
// reservation that holds this frame.
unsigned long long StackReservation() {
    volatile char here = 0;
    MEMORY_BASIC_INFORMATION info;
    if (!VirtualQuery(const_cast<char*>(&here), &info, sizeof(info))) return 0;
    char* base = static_cast<char*>(info.AllocationBase);
    unsigned long long total = 0;
    for (char* p = base; VirtualQuery(p, &info, sizeof(info)) && info.AllocationBase == base; p += info.RegionSize)
        total += info.RegionSize;
    return total;
}

// The process's first thread: the one created earliest (on a tie, the
// first the system lists).
DWORD FirstThreadId() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    DWORD first = 0;
    unsigned long long earliest = ~0ull;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != GetCurrentProcessId()) continue;
        HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
        if (!thread) continue;
        FILETIME created, exited, kernel, user;
        if (GetThreadTimes(thread, &created, &exited, &kernel, &user)) {
            unsigned long long when = (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
            if (when < earliest) {
                earliest = when;
                first = entry.th32ThreadID;
            }
        }
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return first;
}

DWORD WINAPI NonDaemonThread(void* parameter) {
    Sleep(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(parameter)));
    RecordAdd("threadEnded", "1");
    return 0;
}

void StartNonDaemonThread(DWORD ms) {
    HANDLE thread = CreateThread(nullptr, 0, NonDaemonThread, reinterpret_cast<void*>(static_cast<UINT_PTR>(ms)), 0, nullptr);
    if (!thread) StopLoudly("cannot start the non-daemon thread");
    std::lock_guard<std::mutex> hold(g_threadsLock);
    g_nonDaemonThreads.push_back(thread);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A visible top-level window of the application, until it is closed or ms
// pass; the splash watch must find it in the launcher's own process.
void ShowWindowUntilClosed(DWORD ms) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = STANDIN_JVM_WINDOW_CLASS;
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, STANDIN_JVM_WINDOW_CLASS, STANDIN_JVM_WINDOW_TITLE,
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 120, 320, 200, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    if (!window) StopLoudly("cannot create the application's window");
    RecordAdd("windowShown", "1");
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                RecordAdd("windowClosed", "1");
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
    DestroyWindow(window);
}

DWORD NumberAfter(const std::string& text, size_t at, DWORD fallback) {
    return at < text.size() ? static_cast<DWORD>(strtoul(text.c_str() + at, nullptr, 10)) : fallback;
}

}  // namespace

bool RunMainBehaviour() {
    DWORD self = GetCurrentThreadId();
    DWORD first = FirstThreadId();
    RecordAdd("mainThreadId", std::to_string(self));
    RecordAdd("firstThreadId", std::to_string(first));
    RecordAdd("mainOnFirstThread", self == first ? "1" : "0");
    RecordAdd("mainStackReserve", std::to_string(StackReservation()));
    if (Vm().delayMs) Sleep(Vm().delayMs);
    WriteToStdHandle(STD_OUTPUT_HANDLE, Vm().outText);
    WriteToStdHandle(STD_ERROR_HANDLE, Vm().errText);
    const std::string& what = Vm().mainBehaviour;
    if (what == "throw") {
        RecordAdd("mainEnded", "threw");
        return false;
    }
    if (what.compare(0, 5, "exit:") == 0) {
        jint code = static_cast<jint>(strtol(what.c_str() + 5, nullptr, 10));
        // System.exit: the VM calls the launcher's hook, which need not return.
        if (Vm().exitHook) {
            RecordAdd("exitHook", std::to_string(code));
            Vm().exitHook(code);
        }
        ExitProcess(static_cast<UINT>(code));
    }
    if (what.compare(0, 7, "thread:") == 0) StartNonDaemonThread(NumberAfter(what, 7, 0));
    if (what.compare(0, 6, "window") == 0) ShowWindowUntilClosed(NumberAfter(what, 7, 30000));
    RecordAdd("mainEnded", "returned");
    return true;
}

bool WaitForNonDaemonThreads() {
    std::vector<HANDLE> threads;
    {
        std::lock_guard<std::mutex> hold(g_threadsLock);
        threads.swap(g_nonDaemonThreads);
    }
    bool anyRunning = false;
    for (HANDLE thread : threads) {
        if (WaitForSingleObject(thread, 0) == WAIT_TIMEOUT) anyRunning = true;
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    return anyRunning;
}
