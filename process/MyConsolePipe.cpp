// Stand-in until this subsystem is built.
#include "process/MyConsolePipe.h"
void CMyConsolePipe::OnOutput(const char*) {}
