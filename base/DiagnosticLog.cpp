#include "base/DiagnosticLog.h"

#include <windows.h>

#include "base/DiagnosticFile.h"
#include "framework/Text.h"

namespace {

// One entry to every place the log goes: the debugger channel and the
// JARSTART_LOG file.
void Emit(const char* text) {
    OutputDebugStringA(text);
    AppendToDiagnosticFile("", text);
}

}  // namespace

const LogEndToken logEnd = {};
DiagnosticLog g_log;

DiagnosticLog& DiagnosticLog::operator<<(const char* text) {
    if (text) m_pending += text;
    return *this;
}

DiagnosticLog& DiagnosticLog::operator<<(const Text& text) {
    // Taken as a C string: up to the first NUL.
    m_pending += text.c_str();
    return *this;
}

DiagnosticLog& DiagnosticLog::operator<<(const LogEndToken&) {
    Emit(m_pending.c_str());
    m_pending.clear();
    return *this;
}

void write(const char* text) {
    Emit(text);
}

void writeApplicationOutput(const char* text, bool toFile) {
    OutputDebugStringA(text);
    if (toFile) AppendToDiagnosticFile("Application output: ", text);
}
