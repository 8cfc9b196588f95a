#pragma once
// PROP_IN_PROCESS: the application started inside the launcher's own
// process from the chosen runtime's jvm.dll, when that runtime allows it.
#include "framework/CString.h"
#include "launcher/LauncherOptions.h"
#include "launcher/StartTarget.h"
#include "process/JvmRun.h"

// Chooses and loads the runtime's jvm.dll for the Java program at javaPath
// and composes what the VM gets: the options (each dropped option of the
// java program's logged "Not passed to the VM: "), main's arguments from
// the UTF-16 command line, the main thread's stack. False when the child
// start is to be taken instead, logged "In-process start not possible: "
// and why; true after "In-process start: " and the jvm.dll's path.
// With captureOutput (the GUI launcher) the application's standard output
// and error become a pipe to the launcher's output sink before the VM loads.
bool PrepareInProcessStart(const CString& javaPath, const CString& vmParameters, const StartTarget& target,
                           const LauncherOptions& options, bool captureOutput, JvmRunRequest* request);

// PROP_APP_ID: the process's application id, taken before any window
// exists so that the taskbar groups and pins the application's windows
// under it. Logged; on a Windows without application ids nothing happens.
void TakeApplicationId();
