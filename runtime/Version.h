#pragma once
// Java version strings: extraction from -version output and comparison.
#include <string>

// The text between the quotes on the first line containing ` version "`;
// empty when there is none.
std::string ExtractVersion(const std::string& output);
// True when text starts with a version number ("11", "1.8.0_202", "17-ea").
bool IsVersionText(const char* text);
// True when version is at least minimum, compared numerically by component.
bool VersionAtLeast(const char* minimum, const char* version);
