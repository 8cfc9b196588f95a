#pragma once
// Which jvm.dll of a runtime the launcher would load to run the application
// inside its own process, judged from the runtime's files alone (nothing is
// loaded here): the launcher and the tool's runtimes command ask the same
// question of the same code.
#include "framework/CString.h"

// The name of the VM a jvm.cfg text makes the default: the first entry
// marked KNOWN (or WARN), or the entry an alias before it points to, without
// its leading dash ("server", "client"); "" when no entry is usable.
// Comment lines (#) and blank lines are skipped; IGNORE and ERROR entries
// are passed over.
CString DefaultVmOfJvmConfig(const char* jvmCfgText);

// The folder a runtime's java.exe or javaw.exe names as its home: the parent
// of its bin folder; "" when the path has no "\bin\<file>" end.
CString HomeOfJavaProgram(const CString& javaPath);

struct JvmLibraryChoice {
    bool possible = false;
    CString path;      // the jvm.dll to load when possible
    CString binFolder; // the runtime's bin folder: the DLL directory while it loads
    CString reason;    // when not possible: why, naming the file, in a sentence's middle
};

// The jvm.dll of the runtime at home for a launcher of the given machine
// (OwnMachine() for the launcher itself): a Java 8 kit's own runtime in
// jre\ when there is one; the VM that lib\jvm.cfg (lib\<arch>\jvm.cfg before
// Java 9) makes the default, else bin\server, else bin\client; its machine
// must be the launcher's.
JvmLibraryChoice ChooseJvmLibrary(const CString& home, unsigned launcherMachine);
