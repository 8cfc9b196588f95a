#pragma once
// JARSTART_LOG: a copy of the diagnostic log in a file any user can send,
// for machines without a debugger-channel viewer.

// When the environment variable JARSTART_LOG names a file, every entry from
// now on is also appended to it. Main thread, before the first entry. A
// file that cannot be opened is ignored: the launch never depends on it.
void OpenDiagnosticFile();
// One entry as one line: a local time stamp, label, then text. Any thread;
// does nothing when no file is open.
void AppendToDiagnosticFile(const char* label, const char* text);
