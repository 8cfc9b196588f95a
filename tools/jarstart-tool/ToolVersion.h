#pragma once
// The project's version, generated from the VERSION file by the build.
#include "jarstart/Version.h"

inline constexpr const char* kToolVersion = JARSTART_VERSION;
