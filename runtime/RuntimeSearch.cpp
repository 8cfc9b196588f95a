// Stand-in until this subsystem is built.
#include "runtime/RuntimeSearch.h"
CString FindJavaRuntime(const CString&) { return CString(); }
