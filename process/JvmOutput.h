#pragma once
// In-process the application writes to the launcher's own standard handles.
// The GUI launcher has none: a pipe becomes its standard output and error,
// and a reader thread hands what the application writes to the same sink a
// child's pipe has (log.txt with -d, the start error dialog's tail, the
// debugger channel).
#include <windows.h>

// Before the VM is loaded and created, which take the handles then. Does
// nothing when the process has standard output or error of its own (a GUI
// launcher started with redirected handles keeps them). False when the
// pipe or its reader cannot be made; the output is then lost, as it was.
bool CaptureApplicationOutput();

// Waits up to timeoutMs for the reader to have handed on everything written
// so far; at once when nothing is captured.
void DrainApplicationOutput(DWORD timeoutMs);
