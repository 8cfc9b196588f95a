#pragma once
// VM options: the file "<launcher path>.vmoptions", or PROP_VM_PARAMS.
#include <cstdio>

#include "framework/CString.h"

CString LoadVmOptions();
// The joining rule over an open text stream: each read line (the last,
// failing read included) followed by one blank; stops after a line of more
// than 4095 characters.
CString ReadVmOptionLines(FILE* file);
