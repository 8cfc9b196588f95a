// Stand-in until this subsystem is built.
#include "runtime/RegistryLookup.h"
CString ReadRegistryString(HKEY, const char*, const char*) { return CString(); }
CString GetCurrentJreHome(HKEY) { return CString(); }
CString FindRuntimeInVersionKeys(HKEY, const char*) { return CString(); }
CString FindJdkInRegistry(HKEY) { return CString(); }
