#pragma once
#include "framework/CString.h"

// The runtime vendor's download page: the link target and part of the text.
extern const char* const kDownloadPage;

// The failure branch: no suitable runtime. Shows the dialog; returns 1.
int ShowStartFailure();
// The dialog's three lines, asking for a development kit (jdkOnly) or a
// runtime environment of at least minVersion.
CString ComposeStartFailureMessage(bool jdkOnly, const char* minVersion);
