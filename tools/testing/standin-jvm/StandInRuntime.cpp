#include "tools/testing/standin-jvm/StandInRuntime.h"

#include <windows.h>

STANDIN_RUNTIME_API const char* StandInRuntimeFile() {
    static char path[MAX_PATH * 2] = "";
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&StandInRuntimeFile), &self);
    GetModuleFileNameA(self, path, sizeof(path));
    return path;
}
