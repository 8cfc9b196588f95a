#include "tests/tool/RunTool.h"

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

// Takes what the pipe holds now, without blocking.
void Drain(HANDLE pipe, std::string* text) {
    char buffer[4096];
    DWORD available = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        DWORD read = 0;
        if (!ReadFile(pipe, buffer, available < sizeof(buffer) ? available : sizeof(buffer), &read, nullptr) || read == 0)
            return;
        text->append(buffer, read);
    }
}

// Text that is valid UTF-8 is taken as UTF-8, so tests can pass any
// character; anything else as ANSI text, as typed on an older system.
std::vector<wchar_t> WideLine(const std::string& text) {
    UINT codePage = CP_UTF8;
    int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n == 0 && !text.empty()) {
        codePage = CP_ACP;
        n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    }
    std::vector<wchar_t> wide(static_cast<size_t>(n) + 1, L'\0');
    if (n) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}
}  // namespace

ToolRun RunTool(const std::string& arguments, const std::string& currentDir) {
    ToolRun run;
    ScopedHandle outRead, outWrite, errRead, errWrite;
    if (!MakeChildPipe(&outRead, &outWrite) || !MakeChildPipe(&errRead, &errWrite)) return run;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    ScopedHandle nul(CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    std::string line = "\"" + BuildDir() + "jarstart-tool.exe" + "\" " + arguments;
    std::vector<wchar_t> buffer = WideLine(line);
    std::vector<wchar_t> folder = WideLine(currentDir);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        currentDir.empty() ? nullptr : folder.data(), &startup, &info)) return run;
    ScopedHandle process(info.hProcess), thread(info.hThread);
    run.started = true;
    // Our copies of the child's write ends must go, or the reads never end.
    outWrite.Close();
    errWrite.Close();
    // The end of the output is the tool's exit, not the end of the pipes:
    // helpers that Wine starts on demand (the desktop process) inherit the
    // tool's standard handles and keep the pipes open long after it ended.
    DWORD started = GetTickCount();
    for (;;) {
        DWORD waited = WaitForSingleObject(process, 20);
        Drain(outRead, &run.out);
        Drain(errRead, &run.err);
        if (waited != WAIT_TIMEOUT) break;
        if (!run.timedOut && GetTickCount() - started > 60000) {
            run.timedOut = true;
            TerminateProcess(process, 259);
        }
    }
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

