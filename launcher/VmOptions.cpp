// Stand-in until this subsystem is built.
#include "launcher/VmOptions.h"
CString LoadVmOptions() { return CString(); }
CString ReadVmOptionLines(FILE*) { return CString(); }
