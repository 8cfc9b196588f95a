#include "tests/tool/RunTool.h"

#include <thread>
#include <vector>

#include "framework/ScopedWin.h"
#include "tests/support/Paths.h"

namespace {
// A pipe whose write end the child inherits; our read end is not inheritable,
// or the child would hold it open and we would never see the end of the stream.
bool MakeChildPipe(ScopedHandle* ourRead, ScopedHandle* childWrite) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    if (!CreatePipe(ourRead->Receive(), childWrite->Receive(), &inherit, 0)) return false;
    return SetHandleInformation(*ourRead, HANDLE_FLAG_INHERIT, 0) != 0;
}

void ReadAll(HANDLE pipe, std::string* text) {
    char buffer[4096];
    DWORD read = 0;
    // A broken pipe is the normal end: the child has exited.
    while (ReadFile(pipe, buffer, sizeof(buffer), &read, nullptr) && read > 0) text->append(buffer, read);
}
}  // namespace

ToolRun RunTool(const std::string& arguments, const std::string& currentDir) {
    ToolRun run;
    ScopedHandle outRead, outWrite, errRead, errWrite;
    if (!MakeChildPipe(&outRead, &outWrite) || !MakeChildPipe(&errRead, &errWrite)) return run;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    ScopedHandle nul(CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    std::string line = "\"" + BuildDir() + "jarstart-tool.exe\" " + arguments;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        currentDir.empty() ? nullptr : currentDir.c_str(), &startup, &info)) return run;
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

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}
