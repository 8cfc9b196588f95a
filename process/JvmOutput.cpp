#include "process/JvmOutput.h"

#include "process/MyConsolePipe.h"

namespace {

// Both ends live as long as the process: the VM may write until its end.
HANDLE s_readEnd = nullptr;
volatile LONG s_handingOn = 0;

DWORD WINAPI ReadApplicationOutput(void*) {
    char chunk[4096 + 1];
    while (true) {
        DWORD read = 0;
        if (!ReadFile(s_readEnd, chunk, sizeof(chunk) - 1, &read, nullptr) || read == 0) break;
        InterlockedExchange(&s_handingOn, 1);
        chunk[read] = '\0';
        SinkApplicationOutput(chunk);
        InterlockedExchange(&s_handingOn, 0);
    }
    return 0;
}

bool HasHandle(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

}  // namespace

bool CaptureApplicationOutput() {
    if (HasHandle(STD_OUTPUT_HANDLE) || HasHandle(STD_ERROR_HANDLE)) return true;
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, nullptr, 0)) return false;
    s_readEnd = readEnd;
    HANDLE reader = CreateThread(nullptr, 0, ReadApplicationOutput, nullptr, 0, nullptr);
    if (!reader) {
        CloseHandle(readEnd);
        CloseHandle(writeEnd);
        s_readEnd = nullptr;
        return false;
    }
    CloseHandle(reader);
    SetStdHandle(STD_OUTPUT_HANDLE, writeEnd);
    SetStdHandle(STD_ERROR_HANDLE, writeEnd);
    return true;
}

void DrainApplicationOutput(DWORD timeoutMs) {
    if (!s_readEnd) return;
    DWORD started = GetTickCount();
    // Twice idle in a row: the reader may have taken a chunk from the pipe
    // and not yet said it is handing it on.
    int idle = 0;
    while (GetTickCount() - started < timeoutMs) {
        DWORD available = 0;
        if (!PeekNamedPipe(s_readEnd, nullptr, 0, nullptr, &available, nullptr)) return;
        idle = available == 0 && s_handingOn == 0 ? idle + 1 : 0;
        if (idle == 2) return;
        Sleep(10);
    }
}
