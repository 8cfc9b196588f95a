#pragma once
// VM options: the file "<launcher path>.vmoptions", or PROP_VM_PARAMS,
// followed by the user's own "%APPDATA%\<launcher name>\<launcher file
// name>.vmoptions" when it exists; %NAME% of defined variables expanded.
#include <cstdio>

#include "framework/CString.h"

CString LoadVmOptions();
// True for a comment line: its first character other than blanks and tabs
// (after a UTF-8 byte order mark) is "#".
bool IsVmOptionsComment(const char* line);
// The joining rule over an open text stream: each read line (the last,
// failing read included) followed by one blank, comment lines left out; stops after a line of more
// than 4095 characters. expandLine, when given, rewrites each line first.
CString ReadVmOptionLines(FILE* file, CString (*expandLine)(const char*) = nullptr);
// The user's own options file for the launcher at launcherPath: the folder
// named like the launcher without its extension under appData, and in it
// the launcher's file name with ".vmoptions". Empty when either is unknown.
CString UserVmOptionsFile(const char* launcherPath, const char* appData);
// A line of a file in the launcher's own code page: read as UTF-8 when it is
// well-formed UTF-8 (a leading byte order mark dropped), otherwise as text in
// the system's ANSI code page.
CString VmOptionsInOwnCodePage(const CString& fileText);
