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

// The committed private regions of the address space, added up: what the
// system's own count means, for systems that do not keep one.
static SIZE_T CommittedPrivateBytes() {
    SIZE_T total = 0;
    const char* address = nullptr;
    MEMORY_BASIC_INFORMATION region = {};
    while (VirtualQuery(address, &region, sizeof(region)) == sizeof(region)) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        // The top of the address space wraps to 0.
        if (next <= address) break;
        address = next;
    }
    return total;
}

SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof(counters)) &&
        counters.PrivateUsage != 0)
        return counters.PrivateUsage;
    // Wine reports 0.
    return CommittedPrivateBytes();
}
