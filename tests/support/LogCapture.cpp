#include "tests/support/LogCapture.h"

#include <windows.h>

#include <mutex>

namespace {

// OutputDebugStringA raises this exception with the text's length and address
// before it looks for a debugger; a vectored handler sees it first.
const DWORD kDebugPrintException = 0x40010006;  // DBG_PRINTEXCEPTION_C

std::mutex g_captureLock;
std::vector<std::string>* g_captured = nullptr;

LONG CALLBACK CaptureDebugString(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode != kDebugPrintException || record->NumberParameters < 2) return EXCEPTION_CONTINUE_SEARCH;
    const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    std::lock_guard<std::mutex> hold(g_captureLock);
    if (!g_captured) return EXCEPTION_CONTINUE_SEARCH;
    g_captured->push_back(text ? text : "");
    // Handled: the call returns as if a debugger had taken the text.
    return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

LogCapture::LogCapture() {
    {
        std::lock_guard<std::mutex> hold(g_captureLock);
        g_captured = new std::vector<std::string>();
    }
    m_handler = AddVectoredExceptionHandler(1, CaptureDebugString);
}

LogCapture::~LogCapture() {
    if (m_handler) RemoveVectoredExceptionHandler(m_handler);
    std::lock_guard<std::mutex> hold(g_captureLock);
    delete g_captured;
    g_captured = nullptr;
}

std::vector<std::string> LogCapture::Entries() const {
    std::lock_guard<std::mutex> hold(g_captureLock);
    return g_captured ? *g_captured : std::vector<std::string>();
}

void LogCapture::Clear() {
    std::lock_guard<std::mutex> hold(g_captureLock);
    if (g_captured) g_captured->clear();
}

std::string JoinEntries(const std::vector<std::string>& entries) {
    std::string joined;
    for (const std::string& entry : entries) joined += entry + "\n";
    return joined;
}
