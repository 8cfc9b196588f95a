#pragma once
// The stand-in VM's record: "<jvm.dll path>.record", rewritten whole after
// each event (the keys: StandInJvm.h). Safe to call from any thread.
#include <string>

void RecordAdd(const std::string& key, const std::string& value);
// The stand-in's own full path.
std::string StandInDllPath();
// A loud stop: the text to the record and to standard error, then the
// process ends with kStandInJvmStopExitCode. For calls the stand-in does not
// implement, so a test fails where the launcher went beyond it.
[[noreturn]] void StopLoudly(const std::string& text);
// Text straight to a standard handle (as the VM's own output reaches the
// process's handles, not a C runtime's stream).
void WriteToStdHandle(unsigned long which, const std::string& text);
