#include "launcher/LaunchSteps.h"

#include <direct.h>

#include "base/DiagnosticFile.h"
#include "base/DiagnosticLog.h"
#include "base/Environment.h"
#include "base/Globals.h"
#include "base/LauncherFolder.h"
#include "base/LauncherProperties.h"
#include "base/Messages.h"
#include "base/PropertyIds.h"
#include "framework/AppModule.h"
#include "framework/Text.h"
#include "process/AppStart.h"
#include "process/JvmOutput.h"
#include "process/JvmRun.h"
#include "process/MyConsolePipe.h"
#include "process/SingleInstance.h"
#include "process/StartupWatch.h"
#include "ui/Splash.h"
#include "ui/StartError.h"
#include "ui/StartFailure.h"

namespace {

// How long the end of the watch waits, once the application has ended, for
// the rest of its output to be logged: enough for a lagging reader to empty
// the pipe, short enough that a grandchild holding the pipe open cannot keep
// the launcher (and its splash) around.
const DWORD kAppOutputDrainMs = 3000;

}  // namespace

int ReportStartError(DWORD startError) {
    CString message = "Error occured while starting the application...\n";
    message += SystemErrorText(startError);
    ShowErrorMessage(message);
    return 1;
}

void BecomeConsoleLauncher() {
    g_consoleLauncher = true;
    g_javaExeName = "java.exe";
}

void StartDiagnosticLog(const char* commandLine) {
    OpenDiagnosticFile();
    g_log << "Launcher executed with command line: " << commandLine << logEnd;
}

const char* CommandLineAfterProgramName(const char* commandLine) {
    const char* p = commandLine ? commandLine : "";
    bool quoted = false;
    while (*p && (quoted || (*p != ' ' && *p != '\t'))) {
        if (*p == '"') quoted = !quoted;
        ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

bool ApplySwitches(const char* commandLine, LauncherOptions* options) {
    // A command-line tool's own --help or -d must reach the tool, so the
    // console launcher reads no switches at all; its diagnostic log is
    // switched on with JARSTART_LOG instead of -d.
    bool passAll = ReadBoolProperty(PROP_PASS_ALL_ARGUMENTS);
    if (passAll || g_consoleLauncher) {
        // A document opened with the application, a file dropped on the
        // launcher: the whole line is the application's, as the system
        // holds it, so nothing on it can be malformed.
        write(passAll ? "PROP_PASS_ALL_ARGUMENTS: true." : "Console launcher: every argument is the application's.");
        options->m_arguments = ArgumentsAfterProgramName(GetCommandLineA());
        g_log << "Application is run with parameters: " << options->GetArguments() << logEnd;
        return true;
    }
    options->Parse(commandLine);
    if (options->m_help) {
        ShowInfoMessage(kUsageText);
        return false;
    }
    if (options->m_console) {
        write("Application is run as console.");
        g_javaExeName = "java.exe";
    }
    if (options->m_debug) {
        write("Application is run with debug flag.");
        g_logToFile = true;
        // Before the working directory changes: the file belongs in the
        // directory the user started the launcher from.
        g_logFile.Open("log.txt");
    }
    g_log << "Application is run with parameters: " << options->GetArguments() << logEnd;
    return true;
}

bool ClaimSingleInstance() {
    CString name = ReadStringProperty(PROP_SINGLE_INSTANCE);
    if (name.IsEmpty()) return true;
    g_log << "PROP_SINGLE_INSTANCE: " << name << logEnd;
    DWORD runningProcessId = 0;
    if (ClaimInstanceName(name, &runningProcessId)) return true;
    write("Application is already running.");
    // While the other launcher is still starting it there is no window yet;
    // the user sees that start soon enough.
    BringProcessWindowToFront(runningProcessId);
    return false;
}

void PublishLauncherPaths() {
    char path[MAX_PATH];
    int lastBackslash = GetLauncherFolder(path);
    PublishLauncherPaths(path, lastBackslash);
}

void PublishLauncherPaths(const char* path, int lastBackslash) {
    if (lastBackslash < 0) {
        SetEnvironmentVariableA("JARSTART_EXE", nullptr);
        SetEnvironmentVariableA("JARSTART_EXEDIR", nullptr);
        return;
    }
    SetEnvironmentVariableA("JARSTART_EXE", path);
    SetEnvironmentVariableA("JARSTART_EXEDIR", CString(path, lastBackslash));
}

bool ClaimInstanceAndPublishPaths() {
    if (!ClaimSingleInstance()) return false;
    PublishLauncherPaths();
    return true;
}

namespace {

// A property of the class or module start, logged when set; the paths with
// %NAME% expanded as in the VM options.
CString ReadStartProperty(LauncherProperty id, const char* label, bool expand) {
    CString value = ReadStringProperty(id);
    if (value.IsEmpty()) return value;
    g_log << label << value << logEnd;
    return expand ? ExpandEnvironmentText(value) : value;
}

}  // namespace

bool ReadStartTarget(StartTarget* target, CString* problem) {
    target->jar = ReadStringProperty(PROP_START_JAR);
    g_log << "PROP_START_JAR: " << target->jar << logEnd;
    target->mainClass = ReadStartProperty(PROP_MAIN_CLASS, "PROP_MAIN_CLASS: ", false);
    target->classPath = ReadStartProperty(PROP_CLASS_PATH, "PROP_CLASS_PATH: ", true);
    target->mainModule = ReadStartProperty(PROP_MAIN_MODULE, "PROP_MAIN_MODULE: ", false);
    target->modulePath = ReadStartProperty(PROP_MODULE_PATH, "PROP_MODULE_PATH: ", true);
    bool chosen = ChooseStartMode(target, problem);
    if (!chosen) g_log << "ERROR: " << *problem << logEnd;
    g_startModeMinimum = MinimumVersionForMode(target->mode);
    return chosen;
}

bool ReadLaunchProperties(StartTarget* target) {
    // Before the flags, where PROP_START_JAR has always been logged.
    CString problem;
    if (!ReadStartTarget(target, &problem)) {
        ShowErrorMessage(problem);
        return false;
    }
    g_splashActive = ReadBoolProperty(PROP_SPLASH) ? 1 : 0;
    write(g_splashActive ? "PROP_SPLASH: true." : "PROP_SPLASH: false.");
    g_searchJdkOnly = ReadBoolProperty(PROP_SEARCH_JDK_ONLY) ? 1 : 0;
    write(g_searchJdkOnly ? "PROP_SEARCH_JDK_ONLY: true." : "PROP_SEARCH_JDK_ONLY: false.");
    g_keepAlive = ReadBoolProperty(PROP_KEEP_ALIVE) ? 1 : 0;
    g_showStartErrors = ReadBoolProperty(PROP_SHOW_START_ERRORS) ? 1 : 0;
    if (g_showStartErrors) write("PROP_SHOW_START_ERRORS: true.");
    return true;
}

CString EnterWorkingDirectory() {
    char launcherFolder[MAX_PATH];
    int lastBackslash = GetLauncherFolder(launcherFolder);
    // Without a path or a backslash in it there is no folder to speak of;
    // the empty folder keeps the rest of the launch well defined.
    launcherFolder[lastBackslash >= 0 ? lastBackslash : 0] = '\0';
    g_log << "Path to exe file of launcher: " << launcherFolder << logEnd;

    CString workingDir = CString(launcherFolder) + "\\";
    CString workDirProperty = ReadStringProperty(PROP_WORK_DIR);
    g_log << "PROP_WORK_DIR: " << workDirProperty << logEnd;
    workingDir += workDirProperty;
    g_log << "Working dir: " << workingDir << logEnd;
    // Without a folder of its own the launcher would move to the root of
    // the current drive: it stays where it was started instead.
    if (launcherFolder[0] != '\0' && _chdir(workingDir) != 0) write("ERROR: Cannot set working dir.");
    return CString(launcherFolder);
}

bool PrepareStartupWindow() {
    return PrepareSplash();
}

bool CreateStartupWindow(HINSTANCE instance, int showCommand) {
    if (!CreateSplashWindow(instance, showCommand)) return false;
    if (g_splashActive || g_keepAlive) {
        if (SetTimer(g_splashWnd, kStartupTimerId, kStartupTickMs, StartupTimerProc) == 0) return false;
    }
    return true;
}

CString JoinArgumentLine(const CString& vmParameters, const CString& bootClassPath, const StartTarget& target,
                         const Text& arguments) {
    CString line = vmParameters;
    if (!bootClassPath.IsEmpty()) {
        line += " -Xbootclasspath/p:";
        line += bootClassPath;
    }
    line += JoinStartPart(target);
    line += " ";
    line += arguments.c_str();
    return line;
}

int ReportMissingRuntime() {
    ShowErrorMessage(ComposeStartFailureMessage(g_searchJdkOnly != 0, g_minJavaVersion, StartFailureDownloadPage(),
                                                g_maxJavaVersion));
    return 1;
}

int StartAndWatch(const CString& javaPath, const CString& argumentLine, HINSTANCE instance, int showCommand) {
    // Deletes itself when the application's output ends; never deleted here.
    CMyConsolePipe* pipe = new CMyConsolePipe(PIPE_KIND_PROGRAM, 0);
    g_log << "Full argument line: " << argumentLine << logEnd;

    // Lets the end of the watch wait for the last of the application's
    // output; without the splash the launcher ends right after the start.
    if (g_splashActive) g_appOutputEnded = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD startError = 0;
    if (StartApplication(javaPath, argumentLine, pipe, &startError) == -1) {
        // No window and no timer exist yet; the watch stays off.
        g_splashActive = 0;
        return ReportStartError(startError);
    }
    HandInstanceToApplication(g_appProcess.hProcess, g_appProcess.dwProcessId);
    // The application runs before the launcher opens any window: the
    // splash costs its start nothing.
    if (!CreateStartupWindow(instance, showCommand)) {
        g_splashActive = 0;
        CloseAppHandles();
        return 1;
    }
    if (!g_splashActive) {
        CloseAppHandles();
        return 0;
    }

    CMessageLoop loop;
    loop.Run();
    // The last tick ends the loop before it polls: an application that
    // failed within the countdown's last second is seen only here.
    if (g_showStartErrors) GetExitCodeProcess(g_appProcess.hProcess, &g_appExitCode);
    WaitForAppOutput(kAppOutputDrainMs);
    CloseAppHandles();
    // Ended during the watch (the countdown's end leaves STILL_ACTIVE or 0).
    if (g_showStartErrors && g_appExitCode != 0 && g_appExitCode != STILL_ACTIVE) {
        write("Application ended while it was starting.");
        ShowStartError(g_appExitCode, g_appOutputTail.LastLines());
    }
    return static_cast<int>(g_appExitCode);
}

int StartAndWait(const CString& javaPath, const CString& argumentLine) {
    g_log << "Full argument line: " << argumentLine << logEnd;
    // Before the start: a Ctrl+C right after it must not end the launcher.
    IgnoreConsoleInterrupts();
    DWORD startError = 0;
    if (StartConsoleApplication(javaPath, argumentLine, &startError) == -1) return ReportStartError(startError);
    HandInstanceToApplication(g_appProcess.hProcess, g_appProcess.dwProcessId);
    DWORD exitCode = WaitForAppExit();
    CloseAppHandles();
    return static_cast<int>(exitCode);
}

namespace {

void EndStartupWatch() {
    g_splashActive = 0;
    if (!g_splashWnd) return;
    KillTimer(g_splashWnd, kStartupTimerId);
    ShowWindow(g_splashWnd, SW_HIDE);
}

DWORD VmExitCode(HANDLE vmThread) {
    DWORD exitCode = 1;
    GetExitCodeThread(vmThread, &exitCode);
    g_appExitCode = exitCode;
    return exitCode;
}

}  // namespace

int WatchInProcessStart(HANDLE vmThread) {
    while (true) {
        DWORD woken = MsgWaitForMultipleObjects(1, &vmThread, FALSE, INFINITE, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) break;
        if (woken == WAIT_FAILED) {
            WaitForSingleObject(vmThread, INFINITE);
            break;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            // The watch posts WM_QUIT when it is over; the launcher is the
            // application's process and goes on. When the watch quit because
            // it saw the application end, that end still counts as one
            // during the watch.
            if (message.message == WM_QUIT) {
                if (WaitForSingleObject(vmThread, 0) != WAIT_OBJECT_0) EndStartupWatch();
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    bool endedWhileWatched = g_splashActive != 0;
    EndStartupWatch();
    DWORD exitCode = VmExitCode(vmThread);
    // As for a child: an application that fails before its window shows
    // says so. A VM that refused to start is reported by the sequence.
    if (g_showStartErrors && endedWhileWatched && exitCode != 0 && !JvmRefusedToStart()) {
        write("Application ended while it was starting.");
        // The VM's own messages, then the application's last lines (an
        // uncaught exception's stack trace among them).
        DrainApplicationOutput(kAppOutputDrainMs);
        Text output = JvmMessages().GetString();
        output += g_appOutputTail.LastLines();
        ShowStartError(exitCode, output);
    }
    return static_cast<int>(exitCode);
}

void ShowVmRefusal(const CString& text) {
    CString shown = text.IsEmpty() ? CString("The Java VM could not be started.") : text;
    if (g_showStartErrors) {
        ShowStartError(1, shown.GetString());
        return;
    }
    ShowErrorMessage("The Java VM could not be started:\n" + shown);
}

int WaitForVm(HANDLE vmThread) {
    WaitForSingleObject(vmThread, INFINITE);
    return static_cast<int>(VmExitCode(vmThread));
}

void ReportVmRefusalOnStandardError(const CString& text) {
    ShowErrorMessage("Error: Could not create the Java Virtual Machine.");
}
