#pragma once
// The application inside the launcher's process: the VM created and main
// run on a thread of their own, whose stack is the one the application
// asked for (-Xss) or the VM's default, while the first thread keeps the
// launcher's windows. The VM's own messages come through the vfprintf hook
// into a buffer the launcher can show.
#include <windows.h>

#include "base/TextList.h"
#include "framework/CString.h"
#include "process/JvmLoad.h"

struct JvmRunRequest {
    LoadedJvm jvm;
    TextList options;        // every VM option but the hooks
    int mode = 0;            // for LauncherHelper.checkAndLoadMain: 1 class, 2 jar, 3 module
    CString what;            // the class, the jar or module[/class], ANSI
    WideTextList arguments;  // main's arguments, as the command line holds them
    size_t stackSize = 0;    // the thread's stack reservation; 0: the VM's default
};

// The Java thread stack the VM uses when no -Xss is given, from its
// version 1.1 default arguments; 0 when it does not say.
size_t DefaultJvmStackSize(const LoadedJvm& jvm);

// Starts the thread that creates the VM and runs main; the request must
// live until the thread has ended. Null, with the Windows error in *error,
// when the thread cannot be made. The thread's exit code is the
// application's: 0 when main returned (after the other non-daemon threads
// ended), 1 after an uncaught exception, a refused start or a main class
// that cannot be loaded. System.exit(n) ends the process with n inside the
// VM.
HANDLE StartJvmThread(JvmRunRequest* request, DWORD* error);

// True when the VM refused to start (JNI_CreateJavaVM failed); read once the
// thread has ended.
bool JvmRefusedToStart();

// What the VM wrote through its vfprintf hook so far (its first 16 KB).
CString JvmMessages();

// Where the VM's messages go besides the buffer and the diagnostic log:
// standard error, for the console launcher. Set before StartJvmThread.
void CopyJvmMessagesToStandardError(bool copy);
