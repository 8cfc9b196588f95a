#include "tests/support/FakeRuntime.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstring>

#include <gtest/gtest.h>

#include "tests/support/Files.h"
#include "tests/support/Paths.h"
#include "tools/testing/common/FileUtil.h"
#include "tools/testing/common/KeyValueFile.h"

std::string StandInPath(const std::string& exeName) { return BuildDir() + "standin\\" + exeName; }

std::string StandInPath(const std::string& exeName, int bits) {
    if (bits == static_cast<int>(sizeof(void*) * 8)) return StandInPath(exeName);
    // The other machine's build: build\x64 beside the 32-bit build's files,
    // the 32-bit build one folder above the 64-bit one.
    std::string folder = JARSTART_OTHER_STANDIN_DIR;
    for (char& c : folder)
        if (c == '/') c = '\\';
    return BuildDir() + folder + "\\" + exeName;
}

void WriteStandInBehaviour(const std::string& home, const StandInBehaviour& b) {
    std::string content = FormatKeyValue("versionText", b.versionText) +
                          FormatKeyValue("versionDelayMs", std::to_string(b.versionDelayMs)) +
                          FormatKeyValue("stdoutText", b.stdoutText) + FormatKeyValue("stderrText", b.stderrText) +
                          FormatKeyValue("windowAfterMs", std::to_string(b.windowAfterMs)) +
                          FormatKeyValue("windowTitle", b.windowTitle) +
                          FormatKeyValue("messageBoxText", b.messageBoxText) +
                          FormatKeyValue("messageBoxCaption", b.messageBoxCaption) +
                          FormatKeyValue("exitCode", std::to_string(b.exitCode)) +
                          FormatKeyValue("liveMs", std::to_string(b.liveMs)) +
                          FormatKeyValue("patternLines", std::to_string(b.patternLines)) +
                          FormatKeyValue("lastText", b.lastText) +
                          FormatKeyValue("grandchildLiveMs", std::to_string(b.grandchildLiveMs)) +
                          FormatKeyValue("echoInput", b.echoInput ? "1" : "0") +
                          FormatKeyValue("interruptExitCode", std::to_string(b.interruptExitCode));
    std::string path = home + "\\bin\\standin.cfg";
    if (!WriteWholeFile(path, content)) ADD_FAILURE() << "cannot write " << path;
}

void WriteReleaseFile(const std::string& home, const std::string& text) {
    if (!WriteWholeFile(home + "\\release", text)) ADD_FAILURE() << "cannot write " << home << "\\release";
}

void CopyStandInFile(const std::string& from, const std::string& to) {
    if (CopyFileA(from.c_str(), to.c_str(), FALSE)) return;
    DWORD error = GetLastError();
    if (GetFileAttributesA(from.c_str()) == INVALID_FILE_ATTRIBUTES)
        ADD_FAILURE() << "cannot copy " << from << ": it does not exist (make builds the stand-in of both machines)";
    else
        ADD_FAILURE() << "cannot copy " << from << " to " << to << " (error " << error << ")";
}

void UseJavaExeOf(int bits, const std::string& home) {
    CopyStandInFile(StandInPath("java.exe", bits), home + "\\bin\\java.exe");
}

void MakeFakeRuntime(const std::string& home, const StandInBehaviour& behaviour, bool developmentKit,
                     const std::vector<std::string>& libJars) {
    std::string bin = home + "\\bin\\";
    std::string lib = home + "\\lib\\";
    CreateFolders(bin);
    for (const char* exe : {"java.exe", "javaw.exe"}) CopyStandInFile(StandInPath(exe), bin + exe);
    WriteStandInBehaviour(home, behaviour);
    if (developmentKit || !libJars.empty()) CreateFolders(lib);
    if (developmentKit && !WriteWholeFile(lib + "tools.jar", "")) ADD_FAILURE() << "cannot write tools.jar";
    for (const std::string& jar : libJars)
        if (!WriteWholeFile(lib + jar, "")) ADD_FAILURE() << "cannot write " << lib << jar;
}

RecordedRun ReadRecordedRun(const std::string& home, const std::string& exeName) {
    RecordedRun run;
    std::string content;
    if (!ReadWholeFile(home + "\\bin\\" + exeName + ".record", &content)) return run;
    KeyValues values = ParseKeyValues(content);
    run.found = true;
    run.commandLine = FindValue(values, "commandLine");
    run.commandLineUtf8 = FindValue(values, "commandLineUtf8");
    run.currentDir = FindValue(values, "currentDir");
    run.entryTime = std::stoull(FindValue(values, "entryTime", "0"));
    for (const auto& kv : values) {
        if (kv.first == "arg") run.args.push_back(kv.second);
        if (kv.first != "env") continue;
        // Skip the first character: the hidden per-drive entries start with '='.
        size_t equals = kv.second.find('=', 1);
        if (equals != std::string::npos) run.env[kv.second.substr(0, equals)] = kv.second.substr(equals + 1);
    }
    return run;
}

RecordedRun WaitForRecordedRun(const std::string& home, const std::string& exeName, unsigned timeoutMs) {
    RecordedRun run;
    WaitUntil([&] { return (run = ReadRecordedRun(home, exeName)).found; }, timeoutMs);
    return run;
}

unsigned long WaitForGrandchild(const std::string& home, const std::string& exeName, unsigned timeoutMs) {
    std::string content;
    std::string path = home + "\\bin\\" + exeName + ".grandchild";
    if (!WaitUntil([&] { return ReadWholeFile(path, &content); }, timeoutMs)) return 0;
    return std::stoul(FindValue(ParseKeyValues(content), "processId", "0"));
}

std::vector<unsigned long> FindStandIns(const std::string& home) {
    std::vector<unsigned long> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return found;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (!process) continue;
        char image[MAX_PATH] = "";
        DWORD size = MAX_PATH;
        if (QueryFullProcessImageNameA(process, 0, image, &size) && _strnicmp(image, home.c_str(), home.size()) == 0)
            found.push_back(entry.th32ProcessID);
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return found;
}

int EndStandIns(const std::string& home) {
    int ended = 0;
    for (unsigned long id : FindStandIns(home)) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (!process) continue;
        // Ending is asynchronous: wait until the program file is free again.
        if (TerminateProcess(process, 0)) {
            WaitForSingleObject(process, 10000);
            ++ended;
        }
        CloseHandle(process);
    }
    return ended;
}
