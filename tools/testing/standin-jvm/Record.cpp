#include "tools/testing/standin-jvm/Record.h"

#include <windows.h>

#include <mutex>

#include "tools/testing/common/FileUtil.h"
#include "tools/testing/common/KeyValueFile.h"
#include "tools/testing/standin-jvm/StandInJvm.h"

namespace {

std::mutex g_recordLock;
std::string g_record;

}  // namespace

std::string StandInDllPath() {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&StandInDllPath), &self);
    char path[MAX_PATH * 2] = "";
    DWORD n = GetModuleFileNameA(self, path, sizeof(path));
    return std::string(path, n);
}

void RecordAdd(const std::string& key, const std::string& value) {
    std::lock_guard<std::mutex> hold(g_recordLock);
    g_record += FormatKeyValue(key, value);
    WriteWholeFile(StandInDllPath() + ".record", g_record);
}

void WriteToStdHandle(unsigned long which, const std::string& text) {
    HANDLE handle = GetStdHandle(which);
    if (text.empty() || handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
    size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        if (!WriteFile(handle, text.data() + done, static_cast<DWORD>(text.size() - done), &written, nullptr) ||
            written == 0)
            return;
        done += written;
    }
}

void StopLoudly(const std::string& text) {
    RecordAdd("stop", text);
    WriteToStdHandle(STD_ERROR_HANDLE, text + "\n");
    ExitProcess(kStandInJvmStopExitCode);
}
