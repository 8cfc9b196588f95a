#pragma once
// The process-wide state, in one place. Main thread only unless noted.
#include <windows.h>

#include "framework/CString.h"
#include "base/LogFile.h"
#include "base/OutputTail.h"

struct IPicture;

// The start is being watched: the splash shows, or PROP_SHOW_START_ERRORS
// watches with the launcher's window hidden.
extern int g_splashActive;        // launch sequence (PROP_SPLASH), splash window creation (PROP_SHOW_START_ERRORS); cleared by the start-up watch / a failed start
extern int g_splashCountdown;     // splash window creation (PROP_SPLASH_TIMEOUT); counted down by the watch
extern int g_keepAlive;           // launch sequence (PROP_KEEP_ALIVE)
extern int g_watchAppWindow;      // splash window creation (PROP_WATCH_APP_WINDOW)
extern int g_splashPrepared;      // PrepareSplash before the start; cleared by the splash window creation that uses it
extern int g_searchJdkOnly;       // launch sequence (PROP_SEARCH_JDK_ONLY)
extern int g_showStartErrors;     // launch sequence (PROP_SHOW_START_ERRORS); read by the reader thread
extern CString g_javaExeName;     // launch sequence: "java.exe" with the console switch
extern CString g_minJavaVersion;  // runtime search, at its start
// The lowest version the start mode needs ("9" for a module, "" otherwise):
// launch sequence, before the runtime search, which raises its minimum to it.
extern CString g_startModeMinimum;
extern CString g_maxJavaVersion;  // runtime search, at its start (PROP_MAX_VERSION); "" = no maximum
extern bool g_newestRuntime;      // runtime search, at its start (PROP_RUNTIME_CHOICE "newest")
extern CString g_runtimeHome;     // runtime search and registry lookup; read by the boot class path
extern DWORD g_probeTimeLeftMs;   // runtime search: what its version probes may still take together
                                  // (INFINITE outside a search); spent by each probe
// The machine whose registry views the search reads, 32 or 64: the companion
// tool's runtimes command sets the launcher's; 0 in the launcher (its own).
extern int g_searchedMachineBits;
extern CString g_acceptedHome;    // runtime search, at its end: the home of the runtime it returned, or ""
extern bool g_logToFile;          // launch sequence (debug switch); read by the reader thread
// The console launcher's entry point, before its first step: messages go to
// standard error instead of message boxes.
extern bool g_consoleLauncher;
extern LogFile g_logFile;         // opened by the launch sequence, written by the reader thread
extern HWND g_splashWnd;          // splash window creation
extern IPicture* g_splashPicture; // splash image load; released at exit
extern PROCESS_INFORMATION g_appProcess; // application start
extern DWORD g_appExitCode;       // start-up watch
// The in-process start: the thread that runs the VM and main, whose exit
// code the watch polls instead of a process's. g_appProcess.dwProcessId is
// then the launcher's own. Null for a child start.
extern HANDLE g_appThread;        // launch sequence, before the window
// The application's last 8 KB of output; the reader thread appends to it
// while g_showStartErrors is set, the launch sequence reads it after the watch.
extern OutputTail g_appOutputTail;
// Manual-reset event, set by the application pipe's reader thread when the
// application's output has ended. Created by the launch sequence before the
// start when the splash is on; closed once the wait for it succeeded, or left
// to the process's end, since the reader may set it at any time until then.
extern HANDLE g_appOutputEnded;
