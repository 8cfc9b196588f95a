#pragma once
// The project's version, as the build passes it (JARSTART_VERSION, from the
// VERSION file); "dev" for a build that did not.
#ifndef JARSTART_VERSION
#define JARSTART_VERSION "dev"
#endif

inline constexpr const char* kToolVersion = JARSTART_VERSION;
