// Stand-in until this subsystem is built.
#include "runtime/Version.h"
std::string ExtractVersion(const std::string&) { return std::string(); }
bool VersionAtLeast(const char*, const char*) { return false; }
bool IsVersionSufficient(const char*) { return false; }
