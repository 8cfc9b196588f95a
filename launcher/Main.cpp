#include <windows.h>

#include "launcher/LaunchSequence.h"
#include "launcher/LaunchSteps.h"
#include "ui/StartFailure.h"

// The GUI launcher: the launch sequence with the splash, the start-up watch
// and the dialogs.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    LaunchSurface surface = {};
    surface.reportMissingRuntime = ShowStartFailure;
    surface.prepareStartupWindow = PrepareStartupWindow;
    surface.createStartupWindow = CreateStartupWindow;
    surface.startChild = StartAndWatch;
    surface.waitForVm = WatchInProcessStart;
    surface.reportVmRefusal = ShowVmRefusal;
    surface.console = false;
    return RunLaunch(surface, lpCmdLine ? lpCmdLine : "", hInstance, nCmdShow);
}
