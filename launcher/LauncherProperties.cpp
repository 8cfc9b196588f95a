// Stand-in until this subsystem is built.
#include "launcher/LauncherProperties.h"
int LoadResourceText(unsigned, char* buffer, int) { buffer[0] = 0; return 0; }
bool LoadStringResource(CString& target, unsigned) { target.Empty(); return false; }
bool ReadBoolProperty(unsigned) { return false; }
int ReadIntProperty(unsigned) { return 0; }
CString ReadStringProperty(unsigned) { return CString(); }
