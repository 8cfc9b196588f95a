#pragma once
#include "framework/CString.h"

// The Java executable to start, or a bare name / "" when none was found.
CString FindJavaRuntime(const CString& launcherFolder);

// The home of the runtime the last search returned (the result without its
// "\\bin\\<exe>"), or "" when it returned a bare name or nothing.
CString AcceptedRuntimeHome();
