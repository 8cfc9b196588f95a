// Stand-in until this subsystem is built.
#include "runtime/BootClassPath.h"
CString BuildBootClassPath() { return CString(); }
CString QuoteLibJar(const char*) { return CString(); }
