#pragma once
// Runtime homes in the folders installers, zip installs and developer tools
// use, and the one a javaw.exe on the PATH belongs to.
#include <vector>

#include "runtime/RuntimeCandidates.h"

// Per-machine vendor folders under %ProgramFiles%, %ProgramFiles(x86)% and
// %ProgramW6432%; per-user ones under %LOCALAPPDATA%\Programs; IntelliJ's
// %USERPROFILE%\.jdks; Scoop's apps under %USERPROFILE% and %ProgramData%;
// jabba's %USERPROFILE%\.jabba\jdk. A folder counts when it has
// bin\java.exe or bin\javaw.exe. Nothing is logged.
void GatherFolderHomes(std::vector<FoundHome>& found);

// The home of every javaw.exe on the PATH that lies in a bin folder; a link
// (Oracle's javapath folder) is followed to its target first, and a copy in
// that folder stands for the registry's current-version runtime.
void GatherPathHomes(std::vector<FoundHome>& found);
