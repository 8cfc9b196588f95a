#include "launcher/LaunchSequence.h"

#include "base/DiagnosticLog.h"
#include "base/Globals.h"
#include "base/LauncherProperties.h"
#include "base/PathExists.h"
#include "base/PropertyIds.h"
#include "framework/AppModule.h"
#include "launcher/InProcessStart.h"
#include "launcher/LaunchSteps.h"
#include "launcher/VmOptions.h"
#include "process/JvmRun.h"
#include "process/SingleInstance.h"
#include "runtime/BootClassPath.h"
#include "runtime/RuntimeSearch.h"

namespace {

// The VM reads the request from its own thread for as long as the process
// lives.
JvmRunRequest s_jvmRequest;

// The VM's thread first, then the window: the application's start does not
// wait for the splash. Returns the launcher's exit code.
int RunInProcess(const LaunchSurface& surface, HINSTANCE instance, int showCommand) {
    CopyJvmMessagesToStandardError(surface.console);
    DWORD error = 0;
    HANDLE thread = StartJvmThread(&s_jvmRequest, &error);
    if (!thread) return ReportStartError(error);
    g_appThread = thread;
    g_appProcess.dwProcessId = GetCurrentProcessId();
    // The launcher's process is the application: it keeps the instance name.
    RecordInstanceProcess(GetCurrentProcessId());
    if (surface.createStartupWindow && !surface.createStartupWindow(instance, showCommand)) return 1;
    int exitCode = surface.waitForVm(thread);
    if (JvmRefusedToStart()) {
        write("The Java VM refused to start.");
        surface.reportVmRefusal(JvmMessages());
        return 1;
    }
    return exitCode;
}

}  // namespace

int RunLaunch(const LaunchSurface& surface, const char* commandLine, HINSTANCE instance, int showCommand) {
    StartDiagnosticLog(commandLine);

    LauncherOptions options;
    if (!ApplySwitches(commandLine, &options)) return 0;
    _Module.Init(instance);
    if (!ClaimInstanceAndPublishPaths()) return 0;
    CString vmParameters = LoadVmOptions();
    g_log << "Loaded VM parametrers: " << vmParameters << logEnd;
    StartTarget target;
    if (!ReadLaunchProperties(&target)) return 1;
    CString launcherFolder = EnterWorkingDirectory();

    CString javaPath = FindJavaRuntime(launcherFolder);
    g_log << "Jre path: " << javaPath << logEnd;
    if (!PathExists(javaPath)) return surface.reportMissingRuntime();
    if (surface.prepareStartupWindow && !surface.prepareStartupWindow()) return 1;

    // One start step, two ways: in the launcher's process when asked and
    // the runtime allows it, otherwise the child process as always.
    if (ReadBoolProperty(PROP_IN_PROCESS)) {
        write("PROP_IN_PROCESS: true.");
        if (PrepareInProcessStart(javaPath, vmParameters, target, options, !surface.console, &s_jvmRequest)) {
            TakeApplicationId();
            return RunInProcess(surface, instance, showCommand);
        }
    }
    if (surface.console) TakeApplicationId();

    // After the splash picture: the boot class path logs the jars it lists.
    CString bootClassPath = g_searchJdkOnly ? BuildBootClassPath() : CString();
    CString argumentLine = JoinArgumentLine(vmParameters, bootClassPath, target, options.GetArguments());
    return surface.startChild(javaPath, argumentLine, instance, showCommand);
}
