#include "base/DiagnosticFile.h"

#include <cstdlib>
#include "framework/Text.h"

#include <windows.h>

#include "base/LogFile.h"

namespace {

// Written by the main thread and every reader thread, each line whole.
LogFile s_diagnosticFile;

// Zero-padded, without the printf engine the launcher otherwise does not
// link.
void AppendNumber(Text* text, unsigned value, int digits, char after) {
    char buffer[8];
    for (int i = digits - 1; i >= 0; --i, value /= 10) buffer[i] = static_cast<char>('0' + value % 10);
    text->append(buffer, digits);
    *text += after;
}

}  // namespace

void OpenDiagnosticFile() {
    const char* name = std::getenv("JARSTART_LOG");
    if (name && *name) s_diagnosticFile.Open(name, "a");
}

void AppendToDiagnosticFile(const char* label, const char* text) {
    if (!text || !s_diagnosticFile.IsOpen()) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    Text line;
    AppendNumber(&line, now.wYear, 4, '-');
    AppendNumber(&line, now.wMonth, 2, '-');
    AppendNumber(&line, now.wDay, 2, ' ');
    AppendNumber(&line, now.wHour, 2, ':');
    AppendNumber(&line, now.wMinute, 2, ':');
    AppendNumber(&line, now.wSecond, 2, '.');
    AppendNumber(&line, now.wMilliseconds, 3, ' ');
    line += label;
    // The line breaks inside an entry (a version text, a chunk of output)
    // are written as \r and \n: every line of the file starts with its stamp.
    for (const char* p = text; *p; ++p) {
        if (*p == '\r') line += "\\r";
        else if (*p == '\n') line += "\\n";
        else line += *p;
    }
    line += '\n';
    s_diagnosticFile.Write(line.c_str());
}

