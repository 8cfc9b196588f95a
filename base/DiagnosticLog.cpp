#include "base/DiagnosticLog.h"

#include <windows.h>

#include "base/DiagnosticFile.h"

const LogEndToken logEnd = {};
DiagnosticLog g_log;

DiagnosticLog& DiagnosticLog::operator<<(const char* text) {
    if (text) m_pending += text;
    return *this;
}

DiagnosticLog& DiagnosticLog::operator<<(const std::string& text) {
    // Taken as a C string: up to the first NUL.
    m_pending += text.c_str();
    return *this;
}

DiagnosticLog& DiagnosticLog::operator<<(const LogEndToken&) {
    OutputDebugStringA(m_pending.c_str());
    AppendToDiagnosticFile("", m_pending.c_str());
    m_pending.clear();
    return *this;
}

void write(const char* text) {
    OutputDebugStringA(text);
    AppendToDiagnosticFile("", text);
}

void writeApplicationOutput(const char* text, bool toFile) {
    OutputDebugStringA(text);
    if (toFile) AppendToDiagnosticFile("Application output: ", text);
}
