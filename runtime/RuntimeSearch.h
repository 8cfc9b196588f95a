#pragma once
#include "framework/CString.h"

// The Java executable to start, or a bare name / "" when none was found.
CString FindJavaRuntime(const CString& launcherFolder);
