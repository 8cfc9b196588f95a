#pragma once
// The diagnostic log: entries on the debugger channel (OutputDebugStringA),
// the JARSTART_LOG file when there is one (base/DiagnosticFile.h), and one
// line each on standard error in the console launcher's debug mode.
// Entries are built on the main thread only; write() may be called anywhere.
#include "framework/Text.h"

#include "framework/CString.h"

struct LogEndToken {};
extern const LogEndToken logEnd;

class DiagnosticLog {
public:
    DiagnosticLog& operator<<(const char* text);
    DiagnosticLog& operator<<(const Text& text);
    DiagnosticLog& operator<<(const CString& text) { return *this << static_cast<const char*>(text); }
    // Any other string type with c_str(), for callers outside the launcher.
    template <class S, class = decltype(static_cast<const S*>(nullptr)->c_str())>
    DiagnosticLog& operator<<(const S& text) { return *this << text.c_str(); }
    DiagnosticLog& operator<<(const LogEndToken&);

private:
    Text m_pending;
};

extern DiagnosticLog g_log;

// Sends text to the debugger channel at once, as one entry.
void write(const char* text);

// A chunk of the application's output: on the debugger channel like
// write(), and in the JARSTART_LOG file only when toFile (debug mode).
void writeApplicationOutput(const char* text, bool toFile);
