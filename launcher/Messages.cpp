// Stand-in until this subsystem is built.
#include "launcher/Messages.h"
void ShowErrorMessage(const char*) {}
void ShowInfoMessage(const char*) {}
