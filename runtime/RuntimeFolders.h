#pragma once
// Runtime homes in the folders installers, zip installs and developer tools
// use, and the one a javaw.exe on the PATH belongs to.
#include "framework/Array.h"

#include "runtime/RuntimeCandidates.h"

// Per-machine vendor folders under %ProgramFiles%, %ProgramFiles(x86)% and
// %ProgramW6432%; per-user ones under %LOCALAPPDATA%\Programs; IntelliJ's
// %USERPROFILE%\.jdks; Scoop's apps under %USERPROFILE% and %ProgramData%;
// jabba's %USERPROFILE%\.jabba\jdk. A folder counts when it has
// bin\java.exe or bin\javaw.exe. Each is judged below its root variable's
// folder by who may change it. Nothing is logged.
void GatherFolderHomes(Array<FoundHome>& found);

// The home of every javaw.exe on the PATH that lies in a bin folder; a link
// (Oracle's javapath folder) is followed to its target first, and a copy in
// that folder stands for the registry's current-version runtime. Entries
// that are not absolute paths are skipped; one on a network share is given
// up when it does not answer within the search's probe budget.
void GatherPathHomes(Array<FoundHome>& found);

// Calls look(path) on a thread of its own and waits for its answer at most
// what is left of g_probeTimeLeftMs (3 s when the search has no budget),
// spending what it waited. False when no answer came in time: the thread is
// left to end by itself.
typedef CString (*PathLookup)(const CString& path);
bool LookUpWithinProbeBudget(PathLookup look, const CString& path, CString* answer);
