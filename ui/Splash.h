#pragma once
#include <windows.h>
#include <objidl.h>

// What the splash needs before the application starts, so that a bad image
// ends the launch before anything runs: the countdown and the window watch
// (for the splash and for PROP_SHOW_START_ERRORS, which then counts as the
// splash), and the picture, loaded. False when the launch must end with 1:
// the image cannot be loaded (after its message box).
bool PrepareSplash();
// The window of the splash or of PROP_KEEP_ALIVE, created right after the
// application started: shown at once with the prepared picture, hidden for
// the timer alone. Runs PrepareSplash first when it has not run since the
// last window; false when that fails.
bool CreateSplashWindow(HINSTANCE instance, int showCommand);
// The splash image (resource type 2, id 104) in a memory stream at offset 0.
IStream* LoadSplashImageStream();
