#pragma once
#include "framework/CString.h"

// The runtime vendor's download page: the link target and part of the text
// unless the launcher names its own (PROP_DOWNLOAD_URL).
extern const char* const kDownloadPage;

// PROP_DOWNLOAD_URL when the launcher has it, otherwise kDownloadPage.
CString StartFailureDownloadPage();

// The failure branch: no suitable runtime. Shows the dialog; returns 1.
int ShowStartFailure();
// The dialog's three lines, asking for a development kit (jdkOnly) or a
// runtime environment of at least minVersion (from minVersion to maxVersion
// when a maximum is set), and naming downloadPage.
CString ComposeStartFailureMessage(bool jdkOnly, const char* minVersion, const char* downloadPage = kDownloadPage,
                                   const char* maxVersion = "");
