#pragma once
#include "framework/CString.h"

// The quoted jars of g_runtimeHome's lib folder, ';'-joined; "" when none.
CString BuildBootClassPath();
CString QuoteLibJar(const char* fileName);
