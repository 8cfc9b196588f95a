#pragma once
// One running application per instance name (PROP_SINGLE_INSTANCE) and user
// session. The name is a small shared block that records the application's
// process id; the application's process holds a handle of it, so the name
// stays taken exactly as long as the application runs, after its launcher
// has ended too. The block has room to carry a later start's arguments to
// the running application; today only the process id is in it.
#include <windows.h>

// Takes the name for this launcher. False when the name is taken: an
// application started under it still runs (or its launcher is still
// starting it); *runningProcessId is then that application's process id, 0
// while it has not started yet. When the block cannot be made at all the
// name counts as free: better two instances than none.
bool ClaimInstanceName(const char* name, DWORD* runningProcessId);
// Records the started application in the block and gives the application's
// process a handle of it, so the name lives as long as the application.
void HandInstanceToApplication(HANDLE process, DWORD processId);
// Records the application's process id in the block only: in-process the
// launcher's own process is the application and already holds the name.
void RecordInstanceProcess(DWORD processId);
// Restores the process's main window when it is minimised and brings it to
// the front; false when the process has no visible window.
bool BringProcessWindowToFront(DWORD processId);
