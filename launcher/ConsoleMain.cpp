#include <windows.h>

#include "launcher/LaunchSequence.h"
#include "launcher/LaunchSteps.h"

// The console launcher: the launch sequence for a command-line tool. It has
// no splash and no start-up watch; it waits for the application and returns
// its exit code, and reports on standard error what WinMain shows in boxes.
namespace {

// The console launcher has no window to open after the start.
int StartChildAndWait(const CString& javaPath, const CString& argumentLine, HINSTANCE, int) {
    return StartAndWait(javaPath, argumentLine);
}

}  // namespace

int main() {
    BecomeConsoleLauncher();
    LaunchSurface surface = {};
    surface.reportMissingRuntime = ReportMissingRuntime;
    surface.createStartupWindow = nullptr;
    surface.startChild = StartChildAndWait;
    surface.waitForVm = WaitForVm;
    surface.reportVmRefusal = ReportVmRefusalOnStandardError;
    surface.console = true;
    return RunLaunch(surface, CommandLineAfterProgramName(GetCommandLineA()), GetModuleHandleA(nullptr), 0);
}
