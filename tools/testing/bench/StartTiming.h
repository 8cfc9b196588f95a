#pragma once
// One timed start: from just before CreateProcess of a program to the first
// statement of the stand-in runtime that it (or a launcher it is) starts.
#include <windows.h>

#include <string>

struct TimedStart {
    bool ok = false;
    std::string error;          // why ok is false
    double startMs = 0;         // CreateProcess to the stand-in's entry
    SIZE_T peakWorkingSet = 0;  // of the started program itself; 0 unless sampled
};

// The clock the stand-in records at entry: 100 ns units.
unsigned long long PreciseNow();

// Runs "<exePath>" args in the exe's folder, waits for the stand-in of
// runtimeHome to record its javaw.exe start and for the started program to
// end (both within timeoutMs). The record of an earlier run is removed first.
// With sampleMemory the program's peak working set is read every few
// milliseconds while it runs (Wine forgets it once the process has ended);
// the sampling costs CPU, so such a start is not one to time.
TimedStart TimeStart(const std::string& exePath, const std::string& args, const std::string& runtimeHome,
                     bool sampleMemory = false, DWORD timeoutMs = 20000);
