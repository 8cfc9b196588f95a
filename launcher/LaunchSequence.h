#pragma once
// The one launch sequence of both launchers: every step from the command
// line to the application's start, the choice between a child process and
// the in-process start made once. What only the GUI launcher has (the
// splash and its watch, the dialogs) or only the console launcher has
// (standard error, waiting for the application) comes in through the
// surface, so nothing the console launcher calls reaches the GUI's code and
// its link can leave that code out.
#include <windows.h>

#include "framework/CString.h"

struct LaunchSurface {
    // No runtime found: the start failure dialog, or its text on standard
    // error. Returns the exit code.
    int (*reportMissingRuntime)();
    // Reads what the splash and the watch need, the picture among them,
    // before anything starts; null where there is no window. False when
    // the launch must end with 1 (a picture that cannot be loaded).
    bool (*prepareStartupWindow)();
    // The splash or keep-alive window and the start-up watch's timer, made
    // right after the application started; null where there is none. False
    // when the launch must end with 1.
    bool (*createStartupWindow)(HINSTANCE instance, int showCommand);
    // Starts the child process and, as the surface does, opens the window
    // and watches, or waits; returns the exit code.
    int (*startChild)(const CString& javaPath, const CString& argumentLine, HINSTANCE instance, int showCommand);
    // In-process: runs until the thread that runs the VM and main has
    // ended (the watch on the way); returns its exit code.
    int (*waitForVm)(HANDLE vmThread);
    // The VM refused to start: text is what it wrote.
    void (*reportVmRefusal)(const CString& text);
    // The console launcher: the application id is taken for a child start
    // too, the VM's messages go to standard error as it writes them.
    bool console;
};

// The launch; returns the launcher's exit code. commandLine is the text
// after the program name, instance the launcher's module.
int RunLaunch(const LaunchSurface& surface, const char* commandLine, HINSTANCE instance, int showCommand);
