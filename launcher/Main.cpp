#include <windows.h>

#include "launcher/DiagnosticLog.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    g_log << "Launcher executed with command line: " << lpCmdLine << logEnd;
    return 0;
}
