#pragma once
// VM options: the file "<launcher path>.vmoptions", or PROP_VM_PARAMS.
#include <cstdio>

#include "framework/CString.h"

CString LoadVmOptions();
// The joining rule over an open text stream: each read line (the last,
// failing read included) followed by one blank; stops after a line of more
// than 4095 characters.
CString ReadVmOptionLines(FILE* file);
// The joined text of a file in the launcher's own code page: read as UTF-8
// when it is well-formed UTF-8 (a leading byte order mark dropped),
// otherwise as text in the system's ANSI code page.
CString VmOptionsInOwnCodePage(const CString& fileText);
