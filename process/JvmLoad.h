#pragma once
// Loading a runtime's jvm.dll into the launcher's own process, so that
// nothing it needs is taken from the PATH or from another runtime.
#include <windows.h>

#include "framework/CString.h"
#include "process/Jni.h"

struct LoadedJvm {
    HMODULE module = nullptr;  // never freed: a VM cannot be unloaded
    CreateJavaVmFunction createJavaVm = nullptr;
    GetDefaultJavaVmInitArgsFunction getDefaultInitArgs = nullptr;
};

// Makes binFolder the DLL directory, loads the C runtime DLLs present in it
// by full path, then jvmPath by full path, and finds its exports. False,
// with *why naming the file and "error <n>" and the system's text for a
// failed load (126: a DLL it needs is missing; 193: another machine), when
// the VM cannot be had; the DLL directory is then reset and whatever was
// loaded is freed again.
bool LoadJvm(const CString& jvmPath, const CString& binFolder, LoadedJvm* jvm, CString* why);
