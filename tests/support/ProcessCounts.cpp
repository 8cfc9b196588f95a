#include "tests/support/ProcessCounts.h"

#include <psapi.h>

DWORD HandleCount() {
    // Kernel handles are multiples of 4 from 4 upwards.
    DWORD count = 0;
    for (UINT_PTR value = 4; value < 0x4000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    }
    return count;
}

SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof(counters)))
        return 0;
    // Wine fills only the basic counters and leaves PrivateUsage 0. The
    // basic PagefileUsage is the same commit charge on Windows; on Wine it
    // is the process's resident anonymous memory, which a leak grows alike.
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}
