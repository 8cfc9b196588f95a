#pragma once
// The stand-in jvm.dll (tools/testing/standin-jvm) in a fake runtime home,
// for tests of the in-process start: which VM folders hold it, lib\jvm.cfg,
// its runtime library in bin, and what it recorded.
#include <string>
#include <vector>

#include "tools/testing/common/KeyValueFile.h"

// The stand-in's files built for a machine (32 or 64 bits): "jvm.dll" or
// "standinrt.dll" in <build>\standin-jvm (the other build's folder for the
// other machine).
std::string StandInJvmPath(const std::string& fileName, int bits);
// Copies the stand-in built for bits to <home>\bin\<vm>\jvm.dll (vm:
// "server" or "client") and, unless withRuntimeDll is false, its
// standinrt.dll to <home>\bin. Fails the current test when a copy fails.
void UseJvmDllOf(int bits, const std::string& home, const std::string& vm = "server", bool withRuntimeDll = true);
// Writes <home>\lib\jvm.cfg (folders included).
void WriteJvmCfg(const std::string& home, const std::string& content);
// The -D option that chooses what the stand-in's main does ("return",
// "throw", "exit:7", "fail-init", "thread:500", "window").
std::string StandInMainOption(const std::string& behaviour);

// What the stand-in VM recorded in <home>\bin\<vm>\jvm.dll.record (keys:
// tools/testing/standin-jvm/StandInJvm.h). found is false when it did not run.
struct RecordedVm {
    bool found = false;
    KeyValues values;
    // The last value of key ("" when none) / every value of key, in order.
    std::string Value(const std::string& key) const;
    std::vector<std::string> All(const std::string& key) const;
    bool Has(const std::string& key) const;
};
RecordedVm ReadRecordedVm(const std::string& home, const std::string& vm = "server");
// Waits up to timeoutMs for a record that holds key.
RecordedVm WaitForRecordedVm(const std::string& home, const std::string& key, const std::string& vm = "server",
                             unsigned timeoutMs = 20000);
