#pragma once
// The steps of the launch, in the order WinMain takes them. Each logs what it
// decided; the log texts are read by people and tools, so they stay exactly
// as they are.
#include <windows.h>

#include "framework/Text.h"

#include "framework/CString.h"
#include "launcher/LauncherOptions.h"
#include "launcher/StartTarget.h"

// The console launcher's first step: messages go to standard error, the
// debug switch logs there too, and the application runs on java.exe.
void BecomeConsoleLauncher();

// Every entry point's first step: JARSTART_LOG is opened before the first
// entry, which is the command line.
void StartDiagnosticLog(const char* commandLine);

// The command line after the program name and the blanks that follow it, as
// the start-up code hands it to WinMain; for an entry point that gets only
// the whole line.
const char* CommandLineAfterProgramName(const char* commandLine);

// Parses the launcher's switches into options and applies them: the console
// switch picks java.exe, the debug switch opens log.txt in the current
// directory (before the working directory changes). False when the command
// line was malformed: the usage box has been shown and the launch is over.
// With PROP_PASS_ALL_ARGUMENTS, and always in the console launcher, no switch
// is read: everything after the program name on the process's own command
// line is passed through.
bool ApplySwitches(const char* commandLine, LauncherOptions* options);

// PROP_SINGLE_INSTANCE: false when an application started under the same
// instance name still runs; its main window has been brought to the front
// and the launch is over (exit code 0, nothing started). Otherwise this
// launcher holds the name and hands it to its application once started.
bool ClaimSingleInstance();

// JARSTART_EXE (the launcher's full path) and JARSTART_EXEDIR (its folder)
// in the environment, for the VM options to name and the application to
// inherit. When the launcher's own path is unknown both are removed: values
// inherited from a parent would name another program.
void PublishLauncherPaths();
// The same for a given path and the index of its last backslash (-1: no
// path), as GetLauncherFolder returns them.
void PublishLauncherPaths(const char* path, int lastBackslash);

// The steps every entry point takes between the switches and the VM
// options: ClaimSingleInstance, then PublishLauncherPaths. False when the
// launch is over because another instance runs.
bool ClaimInstanceAndPublishPaths();

// What to start, from PROP_START_JAR, PROP_MAIN_CLASS, PROP_CLASS_PATH,
// PROP_MAIN_MODULE and PROP_MODULE_PATH (each logged; the paths with %NAME%
// expanded), its mode chosen once (ChooseStartMode), and the mode's lowest
// version in g_startModeMinimum. False, with the reason logged and in
// *problem, when two things or none are named.
bool ReadStartTarget(StartTarget* target, CString* problem);

// Reads the properties that steer the launch into the process-wide flags
// (splash, development kits only, keep-alive) and what to start into
// *target (ReadStartTarget). False when the launcher names two things to
// start, or none: logged, shown in the error box, and the launch ends with 1.
bool ReadLaunchProperties(StartTarget* target);

// Changes to the launcher's folder plus PROP_WORK_DIR; a failure is logged
// and the launch goes on where it is. Returns the launcher's folder ("" when
// the launcher's own path is unknown: then the directory is not changed).
CString EnterWorkingDirectory();

// Before the start: what the splash needs (PrepareSplash), so that a bad
// splash image ends the launch before anything runs. False when the launch
// must end with 1: the image cannot be loaded (after its message box).
bool PrepareStartupWindow();

// Right after the start: the splash window (when PROP_SPLASH or
// PROP_KEEP_ALIVE asks for it) and the start-up watch's timer on it;
// PrepareStartupWindow runs first when it has not run. False when the launch
// must end with 1: the splash image cannot be loaded (after its message box)
// or the timer cannot be set (silently).
bool CreateStartupWindow(HINSTANCE instance, int showCommand);

// The Java argument line: the VM parameters, " -Xbootclasspath/p:" and the
// boot class path when there is one, the target's start part (" -jar " and
// the jar, or the class or module, JoinStartPart), one blank and the
// pass-through arguments. Pure: nothing is read or logged.
CString JoinArgumentLine(const CString& vmParameters, const CString& bootClassPath, const StartTarget& target,
                         const Text& arguments);

// The application could not be started (a child process or the VM's
// thread): the error box with the Windows error's text; returns 1.
int ReportStartError(DWORD startError);

// The console launcher's failure branch: the start failure dialog's text as
// an error message (so on standard error); returns 1.
int ReportMissingRuntime();

// Starts the application, then opens the startup window (CreateStartupWindow
// with instance and showCommand) and, while the start is watched (the
// splash, or PROP_SHOW_START_ERRORS), runs the start-up watch; returns the
// launcher's exit code: 1 after the start error box (no window was opened)
// or when the window's timer cannot be set, 0 when nothing is watched,
// otherwise the exit code the watch saw, after the start error dialog when
// PROP_SHOW_START_ERRORS is on and the application ended with another code
// than 0. May end the process with 0 from inside the message loop when the
// watch finds the application's window.
int StartAndWatch(const CString& javaPath, const CString& argumentLine, HINSTANCE instance, int showCommand);

// The console launcher's start: the application on the launcher's own
// console and standard handles, holding the instance name once started;
// returns 1 after the start error message, otherwise the application's exit
// code once it has ended.
int StartAndWait(const CString& javaPath, const CString& argumentLine);

// The GUI launcher's in-process wait: the thread's messages (the splash,
// the start-up watch's ticks) until the VM's thread has ended; a watch that
// is over hides the splash and the launcher stays, as the application lives
// in its process. With PROP_SHOW_START_ERRORS an application that ends with
// another code than 0 while the start is watched gets the start error
// dialog, as a child does. Returns the thread's exit code.
int WatchInProcessStart(HANDLE vmThread);

// The GUI launcher's report of a VM that refused to start: its own text in
// the start error dialog with PROP_SHOW_START_ERRORS, else in the error box.
void ShowVmRefusal(const CString& text);

// The console launcher's in-process wait: the VM's thread's exit code once
// it has ended. Ctrl+C is the VM's to handle.
int WaitForVm(HANDLE vmThread);

// The console launcher's report of a VM that refused to start: its text has
// gone to standard error as it was written; one closing line follows.
void ReportVmRefusalOnStandardError(const CString& text);
