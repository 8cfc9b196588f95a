// Stand-in until this subsystem is built.
#include "ui/Splash.h"
bool CreateSplashWindow(HINSTANCE, int) { return true; }
IStream* LoadSplashImageStream() { return nullptr; }
