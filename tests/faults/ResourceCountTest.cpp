// Long series of the launcher's repeated operations, in this process: what
// they hold afterwards (open handles, committed private memory) must not
// grow with the number of runs. The properties come from this program's own
// string table (FaultPropertyStrings.rc), the probes run a stand-in runtime.
#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <iostream>
#include <string>

#include "base/LauncherProperties.h"
#include "runtime/VersionProbe.h"
#include "tests/support/FakeRuntime.h"
#include "tests/support/Files.h"
#include "tests/support/Paths.h"
#include "tests/support/ProcessCounts.h"

namespace {

// Slack for the heap's own bookkeeping: after a warm-up the heap has grown
// to what a round needs, but it commits and keeps whole pages and its free
// lists fragment, so a series that leaks nothing may still end a few pages
// higher. 256 KB is far below what a leak of one round's strings would add
// up to over the series (see each test).
const SIZE_T kMemorySlack = 256 * 1024;

// True when PrivateBytes sees 4 MB of memory committed and written, so that
// a bound on its growth means something on this platform.
bool PrivateBytesSeeAnAllocation() {
    const SIZE_T kSize = 4 * 1024 * 1024;
    SIZE_T before = PrivateBytes();
    char* block = static_cast<char*>(VirtualAlloc(nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!block) return false;
    for (SIZE_T offset = 0; offset < kSize; offset += 4096) block[offset] = 1;
    SIZE_T during = PrivateBytes();
    VirtualFree(block, 0, MEM_RELEASE);
    return before != 0 && during >= before + kSize / 2;
}

struct PropertyCase {
    unsigned id;
    bool flag;
    int number;
    size_t length;  // of the string value
};

// The strings of FaultPropertyStrings.rc: 98 is absent, 100 empty; 101 to
// 103 and 105 are long enough for the reader's grown-buffer path.
const PropertyCase kProperties[] = {
    {96, true, 0, 5},    {97, true, 0, 1},      {98, false, 0, 0},  {99, true, 42, 5},
    {100, false, 0, 0},  {101, true, 0, 253},   {102, true, 0, 254}, {103, true, 0, 510},
    {104, true, 1, 3},   {105, true, 0, 4000},  {106, true, -7, 4},
};

// Every property read once with each of the three readers; returns the
// number of reads whose value was not the expected one.
int ReadEveryPropertyOnce() {
    int wrong = 0;
    for (const PropertyCase& p : kProperties) {
        if (ReadBoolProperty(p.id) != p.flag) ++wrong;
        if (ReadIntProperty(p.id) != p.number) ++wrong;
        if (static_cast<size_t>(ReadStringProperty(p.id).GetLength()) != p.length) ++wrong;
    }
    return wrong;
}

TEST(ResourceCountTest, ThousandRoundsOfPropertyReadsHoldNoHandleAndNoMemory) {
    ASSERT_TRUE(PrivateBytesSeeAnAllocation());
    ASSERT_EQ(0, ReadEveryPropertyOnce()) << "the test program's property strings are the expected ones";
    EXPECT_EQ(std::string(ReadStringProperty(105)).substr(0, 30), "abcdefghijklmnopqrstuvwxyzabcd");
    EXPECT_STREQ("  -7", ReadStringProperty(106));
    for (int round = 0; round < 50; ++round) ReadEveryPropertyOnce();

    DWORD handlesBefore = HandleCount();
    SIZE_T memoryBefore = PrivateBytes();
    int wrong = 0;
    const int kRounds = 1000;
    for (int round = 0; round < kRounds; ++round) wrong += ReadEveryPropertyOnce();
    DWORD handlesAfter = HandleCount();
    SIZE_T memoryAfter = PrivateBytes();
    long long growth = static_cast<long long>(memoryAfter) - static_cast<long long>(memoryBefore);
    std::cout << "[ measured ] " << kRounds * 33 << " property reads: handles " << handlesBefore << " -> "
              << handlesAfter << ", private bytes " << memoryBefore << " -> " << memoryAfter << " (" << growth
              << ")" << std::endl;

    EXPECT_EQ(0, wrong);
    EXPECT_EQ(handlesBefore, handlesAfter);
    // A round reads 33 values, among them the 253- to 4000-character texts
    // with each reader: more than 14 KB of strings. Losing even the
    // short-path strings of one round (over 750 bytes) would add more than
    // 700 KB over the series, and the grown buffers far more.
    EXPECT_LE(growth, static_cast<long long>(kMemorySlack));
}

// A probe's object outlives the probe by design (its reader may still be
// running when the probe gives up), so each probe keeps a small fixed
// amount of memory: the object, the gathered -version text and the
// critical section's debug record. Allowed per probe, generously:
const SIZE_T kKeptPerProbe = 1024;

// The threads of this process. A probe's reader thread closes the pipe and
// the child's handle after the output has ended, that is after the probe
// may have returned, and then ends: once the count is back, every reader is
// done with its handles.
DWORD ThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    DWORD count = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}

TEST(ResourceCountTest, HundredVersionProbesCloseEveryHandleAndKeepOnlyTheirSmallProbeObjects) {
    ASSERT_TRUE(PrivateBytesSeeAnAllocation());
    std::string home = MakeTempFolder("resource-probes") + "jre";
    MakeFakeRuntime(home);
    DWORD threads = ThreadCount();
    ASSERT_NE(0u, threads);
    // The first child process and reader thread load and set up what every
    // later one reuses (the system keeps a few handles from the first
    // process start).
    for (int i = 0; i < 3; ++i) ASSERT_STREQ("1.6.0_03", ProbeJavaVersion(home.c_str()));
    ASSERT_TRUE(WaitUntil([&] { return ThreadCount() == threads; }, 10000)) << "the warm-up readers end";

    DWORD handlesBefore = HandleCount();
    SIZE_T memoryBefore = PrivateBytes();
    const int kProbes = 100;
    int wrong = 0;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kProbes; ++i)
        if (ProbeJavaVersion(home.c_str()) != "1.6.0_03") ++wrong;
    QueryPerformanceCounter(&end);
    bool settled = WaitUntil([&] { return ThreadCount() == threads; }, 10000);
    DWORD handlesAfter = HandleCount();
    SIZE_T memoryAfter = PrivateBytes();
    long long growth = static_cast<long long>(memoryAfter) - static_cast<long long>(memoryBefore);
    std::cout << "[ measured ] " << kProbes << " probes in "
              << 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart)
              << " ms: handles " << handlesBefore << " -> " << handlesAfter << ", private bytes " << memoryBefore
              << " -> " << memoryAfter << " (" << growth << ", " << growth / kProbes << " per probe)" << std::endl;

    EXPECT_EQ(0, wrong);
    EXPECT_TRUE(settled) << "the readers end";
    EXPECT_EQ(handlesBefore, handlesAfter) << "a probe's object keeps no handle once its output has ended";
    // A leaked pipe buffer, thread stack or child record would be many KB a
    // probe; the objects kept on purpose stay within kKeptPerProbe each.
    EXPECT_LE(growth, static_cast<long long>(kProbes * kKeptPerProbe + kMemorySlack));
}

}  // namespace
