#pragma once
// What a process holds, for tests that a long series of operations leaks
// nothing: open kernel handles and committed private memory.
#include <windows.h>

// The handles open in this process. GetProcessHandleCount reports 0 under
// Wine, so handle values are probed one by one.
DWORD HandleCount();

// Bytes of private memory committed by this process: the system's count, or
// where it keeps none (Wine) the committed private regions added up.
SIZE_T PrivateBytes();
