#pragma once
// The diagnostic log: entries on the debugger channel (OutputDebugStringA),
// the JARSTART_LOG file when there is one (base/DiagnosticFile.h), and one
// line each on standard error in the console launcher's debug mode.
// Entries are built on the main thread only; write() may be called anywhere.
#include <string>

#include "framework/CString.h"

struct LogEndToken {};
extern const LogEndToken logEnd;

class DiagnosticLog {
public:
    DiagnosticLog& operator<<(const char* text);
    DiagnosticLog& operator<<(const std::string& text);
    DiagnosticLog& operator<<(const CString& text) { return *this << static_cast<const char*>(text); }
    DiagnosticLog& operator<<(const LogEndToken&);

private:
    std::string m_pending;
};

extern DiagnosticLog g_log;

// Sends text to the debugger channel at once, as one entry.
void write(const char* text);

// A chunk of the application's output: on the debugger channel like
// write(), and in the JARSTART_LOG file only when toFile (debug mode).
void writeApplicationOutput(const char* text, bool toFile);
