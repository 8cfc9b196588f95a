#include "process/SingleInstance.h"

#include "framework/Text.h"

namespace {

// The block's layout; version 1 has the process id only. A later version
// may add a mailbox for arguments behind it.
struct InstanceBlock {
    LONG version;
    LONG processId;
};
const DWORD kInstanceBlockSize = 4096;

// Held until the launcher ends; by then the application holds its own.
HANDLE s_instanceBlock = nullptr;

// "Local\": the user's session. A backslash after the namespace would name
// a folder of it, so the user's text may not bring one.
Text InstanceObjectName(const char* name) {
    Text objectName = Text("Local\\jarstart-instance-") + name;
    for (size_t i = 6; i < objectName.size(); ++i)
        if (objectName[i] == '\\') objectName[i] = '/';
    return objectName;
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

// The main window: a visible top-level window of the process that no other
// window owns (dialogs and tool windows are owned).
BOOL CALLBACK FindMainWindow(HWND window, LPARAM lParam) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

bool ClaimInstanceName(const char* name, DWORD* runningProcessId) {
    *runningProcessId = 0;
    HANDLE block = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kInstanceBlockSize,
                                      InstanceObjectName(name).c_str());
    if (!block) return true;
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
        InstanceBlock* view = static_cast<InstanceBlock*>(MapViewOfFile(block, FILE_MAP_WRITE, 0, 0, 0));
        if (view) {
            InterlockedExchange(&view->version, 1);
            UnmapViewOfFile(view);
        }
        s_instanceBlock = block;
        return true;
    }
    InstanceBlock* view = static_cast<InstanceBlock*>(MapViewOfFile(block, FILE_MAP_READ, 0, 0, 0));
    if (view) {
        *runningProcessId = static_cast<DWORD>(view->processId);
        UnmapViewOfFile(view);
    }
    CloseHandle(block);
    return false;
}

void RecordInstanceProcess(DWORD processId) {
    if (!s_instanceBlock) return;
    InstanceBlock* view = static_cast<InstanceBlock*>(MapViewOfFile(s_instanceBlock, FILE_MAP_WRITE, 0, 0, 0));
    if (view) {
        InterlockedExchange(&view->processId, static_cast<LONG>(processId));
        UnmapViewOfFile(view);
    }
}

void HandInstanceToApplication(HANDLE process, DWORD processId) {
    if (!s_instanceBlock) return;
    RecordInstanceProcess(processId);
    // The handle in the application is never used there; it only keeps the
    // block, and with it the name, alive until the application ends.
    HANDLE inApplication = nullptr;
    DuplicateHandle(GetCurrentProcess(), s_instanceBlock, process, &inApplication, 0, FALSE, DUPLICATE_SAME_ACCESS);
}

bool BringProcessWindowToFront(DWORD processId) {
    if (processId == 0) return false;
    WindowSearch search = {processId, nullptr};
    EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return false;
    if (IsIconic(search.found)) ShowWindow(search.found, SW_RESTORE);
    // A launcher the user just started may hand the foreground on.
    SetForegroundWindow(search.found);
    return true;
}
