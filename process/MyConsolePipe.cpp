#include "process/MyConsolePipe.h"

#include "base/DiagnosticLog.h"
#include "base/Globals.h"

// The application-output sink. Runs on the reader thread; g_logToFile was
// set before any pipe existed, and g_logFile guards itself against the close
// at process exit, which may come while this thread is still writing.
void CMyConsolePipe::OnOutput(const char* text) {
    if (!text) {
        // Every chunk has been logged: the launcher may end without losing
        // the application's last words.
        if (g_appOutputEnded) SetEvent(g_appOutputEnded);
        return;
    }
    SinkApplicationOutput(text);
}

void SinkApplicationOutput(const char* text) {
    if (g_logToFile) g_logFile.Write(text);
    if (g_showStartErrors) g_appOutputTail.Append(text);
    writeApplicationOutput(text, g_logToFile);
}
