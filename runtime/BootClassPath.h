#pragma once
#include "framework/CString.h"

// The quoted jars of g_runtimeHome's lib folder, ';'-joined; "" when none,
// and "" (with the reason logged) when the runtime the search accepted is
// Java 9 or later.
CString BuildBootClassPath();
CString QuoteLibJar(const char* fileName);
