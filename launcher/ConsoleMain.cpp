#include <windows.h>

#include "base/DiagnosticLog.h"
#include "base/Globals.h"
#include "base/PathExists.h"
#include "framework/AppModule.h"
#include "launcher/LaunchSteps.h"
#include "launcher/VmOptions.h"
#include "runtime/BootClassPath.h"
#include "runtime/RuntimeSearch.h"

// The console launcher: WinMain's steps for a command-line tool. It has no
// splash and no start-up watch; it waits for the application and returns
// its exit code, and reports on standard error what WinMain shows in boxes.
int main() {
    BecomeConsoleLauncher();
    const char* commandLine = CommandLineAfterProgramName(GetCommandLineA());
    StartDiagnosticLog(commandLine);

    LauncherOptions options;
    if (!ApplySwitches(commandLine, &options)) return 0;
    _Module.Init(GetModuleHandleA(nullptr));
    if (!ClaimInstanceAndPublishPaths()) return 0;

    CString vmParameters = LoadVmOptions();
    g_log << "Loaded VM parametrers: " << vmParameters << logEnd;
    StartTarget target;
    if (!ReadLaunchProperties(&target)) return 1;
    CString launcherFolder = EnterWorkingDirectory();

    CString javaPath = FindJavaRuntime(launcherFolder);
    g_log << "Jre path: " << javaPath << logEnd;
    if (!PathExists(javaPath)) return ReportMissingRuntime();

    CString bootClassPath = g_searchJdkOnly ? BuildBootClassPath() : CString();
    CString argumentLine = JoinArgumentLine(vmParameters, bootClassPath, target, options.GetArguments());
    return StartAndWait(javaPath, argumentLine);
}
