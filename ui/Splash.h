#pragma once
#include <windows.h>
#include <objidl.h>

// False when the launch must end with 1 (the splash image cannot be loaded).
bool CreateSplashWindow(HINSTANCE instance, int showCommand);
// The splash image (resource type 2, id 104) in a memory stream at offset 0.
IStream* LoadSplashImageStream();
