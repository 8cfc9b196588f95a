#pragma once
// standinrt.dll: the stand-in VM's own runtime library, a load-time
// dependency found only in the runtime's bin folder, as a VM's C runtime is.
#ifdef STANDIN_RUNTIME_BUILD
#define STANDIN_RUNTIME_API extern "C" __declspec(dllexport)
#else
#define STANDIN_RUNTIME_API extern "C" __declspec(dllimport)
#endif

#include <string>

// Where the library was loaded from (its full path).
STANDIN_RUNTIME_API const char* StandInRuntimeFile();

inline std::string StandInRuntimePath() { return StandInRuntimeFile(); }
