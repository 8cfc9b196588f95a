#include <windows.h>

#include "base/DiagnosticLog.h"
#include "base/Globals.h"
#include "base/PathExists.h"
#include "framework/AppModule.h"
#include "launcher/LaunchSteps.h"
#include "launcher/VmOptions.h"
#include "runtime/BootClassPath.h"
#include "runtime/RuntimeSearch.h"
#include "ui/StartFailure.h"

// The launch, start to end: each line is one step of launcher/LaunchSteps.h
// or of the subsystem it names.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    const char* commandLine = lpCmdLine ? lpCmdLine : "";
    StartDiagnosticLog(commandLine);

    LauncherOptions options;
    if (!ApplySwitches(commandLine, &options)) return 0;
    _Module.Init(hInstance);
    if (!ClaimInstanceAndPublishPaths()) return 0;
    CString vmParameters = LoadVmOptions();
    g_log << "Loaded VM parametrers: " << vmParameters << logEnd;
    StartTarget target;
    if (!ReadLaunchProperties(&target)) return 1;
    CString launcherFolder = EnterWorkingDirectory();

    CString javaPath = FindJavaRuntime(launcherFolder);
    g_log << "Jre path: " << javaPath << logEnd;
    if (!PathExists(javaPath)) return ShowStartFailure();

    if (!PrepareStartupWindow()) return 1;
    // After the splash image: the boot class path logs the jars it lists.
    CString bootClassPath = g_searchJdkOnly ? BuildBootClassPath() : CString();
    CString argumentLine = JoinArgumentLine(vmParameters, bootClassPath, target, options.GetArguments());
    return StartAndWatch(javaPath, argumentLine, hInstance, nCmdShow);
}
