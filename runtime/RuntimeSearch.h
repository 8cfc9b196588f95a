#pragma once
#include "framework/CString.h"

// The Java executable to start, or a bare name / "" when none was found.
// Also sets g_acceptedHome: the result without its "\\bin\\<exe>", or "" when
// the result is a bare name or nothing.
CString FindJavaRuntime(const CString& launcherFolder);
