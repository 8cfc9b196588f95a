#pragma once
// The application's pipe: its output goes to log.txt (debug mode) and to the
// debugger channel. Deletes itself when the application's output ends.
#include "process/ConsolePipe.h"

class CMyConsolePipe : public CConsolePipe {
public:
    CMyConsolePipe(int interpreterKind, unsigned options) : CConsolePipe(interpreterKind, options) {}
    void OnOutput(const char* text) override;
};

// Where a chunk of the application's output goes, whichever thread reads
// it: log.txt in debug mode, the tail for the start error dialog, the
// debugger channel.
void SinkApplicationOutput(const char* text);
