#include "tests/support/FakeJvm.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/FakeRuntime.h"
#include "tests/support/Files.h"
#include "tests/support/Paths.h"
#include "tools/testing/common/FileUtil.h"
#include "tools/testing/standin-jvm/StandInJvm.h"

std::string StandInJvmPath(const std::string& fileName, int bits) {
    if (bits == static_cast<int>(sizeof(void*) * 8)) return BuildDir() + "standin-jvm\\" + fileName;
    // The other build's stand-in folder, beside its java.exe stand-in's.
    std::string folder = JARSTART_OTHER_STANDIN_DIR;
    for (char& c : folder)
        if (c == '/') c = '\\';
    return BuildDir() + folder + "-jvm\\" + fileName;
}


void UseJvmDllOf(int bits, const std::string& home, const std::string& vm, bool withRuntimeDll) {
    std::string bin = home + "\\bin\\";
    CreateFolders(bin + vm);
    CopyStandInFile(StandInJvmPath("jvm.dll", bits), bin + vm + "\\jvm.dll");
    if (withRuntimeDll) CopyStandInFile(StandInJvmPath("standinrt.dll", bits), bin + "standinrt.dll");
}

void WriteJvmCfg(const std::string& home, const std::string& content) {
    CreateFolders(home + "\\lib");
    if (!WriteWholeFile(home + "\\lib\\jvm.cfg", content)) ADD_FAILURE() << "cannot write " << home << "\\lib\\jvm.cfg";
}

std::string StandInMainOption(const std::string& behaviour) { return STANDIN_JVM_MAIN_OPTION + behaviour; }

std::string RecordedVm::Value(const std::string& key) const { return FindValue(values, key); }

std::vector<std::string> RecordedVm::All(const std::string& key) const {
    std::vector<std::string> all;
    for (const auto& kv : values)
        if (kv.first == key) all.push_back(kv.second);
    return all;
}

bool RecordedVm::Has(const std::string& key) const {
    for (const auto& kv : values)
        if (kv.first == key) return true;
    return false;
}

RecordedVm ReadRecordedVm(const std::string& home, const std::string& vm) {
    RecordedVm record;
    std::string content;
    if (!ReadWholeFile(home + "\\bin\\" + vm + "\\jvm.dll.record", &content)) return record;
    record.found = true;
    record.values = ParseKeyValues(content);
    return record;
}

RecordedVm WaitForRecordedVm(const std::string& home, const std::string& key, const std::string& vm,
                             unsigned timeoutMs) {
    RecordedVm record;
    WaitUntil([&] { return (record = ReadRecordedVm(home, vm)).Has(key); }, timeoutMs);
    return record;
}
