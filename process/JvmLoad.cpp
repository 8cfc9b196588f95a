#include "process/JvmLoad.h"

#include "base/Messages.h"
#include "framework/Text.h"

namespace {

// The C runtimes the runtimes of Java 8 (msvcr100) and later link; the one
// in the runtime's bin is the one its jvm.dll was built against.
const char* const kRuntimeDlls[] = {"msvcr100.dll", "msvcp100.dll", "vcruntime140.dll", "vcruntime140_1.dll",
                                    "msvcp140.dll"};
const int kRuntimeDllCount = sizeof(kRuntimeDlls) / sizeof(kRuntimeDlls[0]);

}  // namespace

bool LoadJvm(const CString& jvmPath, const CString& binFolder, LoadedJvm* jvm, CString* why) {
    // The VM loads its own neighbours (java.dll, net.dll...) by name later;
    // the DLL directory keeps them coming from this runtime.
    SetDllDirectoryA(binFolder);
    HMODULE runtimes[kRuntimeDllCount] = {};
    for (int i = 0; i < kRuntimeDllCount; ++i) {
        CString path = binFolder + "\\" + kRuntimeDlls[i];
        if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) continue;
        runtimes[i] = LoadLibraryA(path);
    }
    HMODULE module = LoadLibraryA(jvmPath);
    DWORD error = module ? 0 : GetLastError();
    FARPROC create = module ? GetProcAddress(module, "JNI_CreateJavaVM") : nullptr;
    FARPROC defaults = module ? GetProcAddress(module, "JNI_GetDefaultJavaVMInitArgs") : nullptr;
    if (module && create && defaults) {
        jvm->module = module;
        jvm->createJavaVm = reinterpret_cast<CreateJavaVmFunction>(create);
        jvm->getDefaultInitArgs = reinterpret_cast<GetDefaultJavaVmInitArgsFunction>(defaults);
        return true;
    }
    if (!module) {
        *why = "cannot load " + jvmPath + ": error " + ToText(error).c_str() + " (" + SystemErrorText(error) + ")";
    } else {
        *why = jvmPath + " exports no JNI_CreateJavaVM and JNI_GetDefaultJavaVMInitArgs";
        FreeLibrary(module);
    }
    for (int i = 0; i < kRuntimeDllCount; ++i)
        if (runtimes[i]) FreeLibrary(runtimes[i]);
    SetDllDirectoryA(nullptr);
    return false;
}
