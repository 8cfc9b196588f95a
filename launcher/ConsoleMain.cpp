#include <windows.h>

#include "launcher/LaunchSequence.h"
#include "launcher/LaunchSteps.h"

// The console launcher: the launch sequence for a command-line tool. It has
// no splash and no start-up watch; it waits for the application and returns
// its exit code, and reports on standard error what WinMain shows in boxes.
int main() {
    BecomeConsoleLauncher();
    LaunchSurface surface = {};
    surface.reportMissingRuntime = ReportMissingRuntime;
    surface.createStartupWindow = nullptr;
    surface.startChild = StartAndWait;
    surface.waitForVm = WaitForVm;
    surface.reportVmRefusal = ReportVmRefusalOnStandardError;
    surface.console = true;
    return RunLaunch(surface, CommandLineAfterProgramName(GetCommandLineA()), GetModuleHandleA(nullptr), 0);
}
