// Stand-in until this subsystem is built.
#include "launcher/LauncherFolder.h"
int GetLauncherFolder(char* buffer) { buffer[0] = 0; return -1; }
