#include "tests/support/ChildProcess.h"

#include <thread>
#include <vector>

#include "framework/ScopedWin.h"

static void ReadAll(HANDLE pipe, std::string* out) {
    char buffer[4096];
    DWORD read = 0;
    // A broken pipe is the normal end: the child closed its end.
    while (ReadFile(pipe, buffer, sizeof(buffer), &read, nullptr) && read > 0) out->append(buffer, read);
}

ChildRun RunCapturing(const std::string& commandLine, const std::string& currentDir) {
    ChildRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    ScopedHandle outRead, outWrite, errRead, errWrite;
    if (!CreatePipe(outRead.Receive(), outWrite.Receive(), &inherit, 0) ||
        !CreatePipe(errRead.Receive(), errWrite.Receive(), &inherit, 0))
        return run;
    // Only the child's ends are inherited.
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION info = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        currentDir.empty() ? nullptr : currentDir.c_str(), &startup, &info))
        return run;
    ScopedHandle process(info.hProcess), thread(info.hThread);
    run.started = true;
    // Our copies of the child's write ends must go, or the reads never end.
    outWrite.Close();
    errWrite.Close();
    std::thread errReader(ReadAll, errRead.Get(), &run.err);
    ReadAll(outRead, &run.out);
    errReader.join();
    WaitForSingleObject(process, INFINITE);
    GetExitCodeProcess(process, &run.exitCode);
    return run;
}

bool RunAndWait(const std::string& commandLine, const std::string& currentDir, DWORD timeoutMs, DWORD* exitCode) {
    std::string line = commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        currentDir.empty() ? nullptr : currentDir.c_str(), &startup, &process))
        return false;
    CloseHandle(process.hThread);
    bool ended = WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 0xDEAD);
    GetExitCodeProcess(process.hProcess, exitCode);
    CloseHandle(process.hProcess);
    return ended;
}

bool RunWithFiles(const std::string& commandLine, const std::string& currentDir, const std::string& inPath,
                  const std::string& outPath, const std::string& errPath, DWORD timeoutMs, DWORD* exitCode,
                  DWORD creationFlags, const std::function<void(DWORD processId)>& whileRunning) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    ScopedHandle in(CreateFileA(inPath.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit, OPEN_EXISTING, 0, nullptr));
    ScopedHandle out(CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
    ScopedHandle err(CreateFileA(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
    if (!in.IsValid() || !out.IsValid() || !err.IsValid()) return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION info = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, creationFlags, nullptr,
                        currentDir.empty() ? nullptr : currentDir.c_str(), &startup, &info))
        return false;
    ScopedHandle process(info.hProcess), thread(info.hThread);
    if (whileRunning) whileRunning(info.dwProcessId);
    bool ended = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process, 0xDEAD);
    GetExitCodeProcess(process, exitCode);
    return ended;
}
