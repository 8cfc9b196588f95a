#pragma once
// Java version strings: extraction from -version output and comparison.
#include "framework/Text.h"

// The text between the quotes on the first line containing ` version "`;
// empty when there is none.
Text ExtractVersion(const Text& output);
// True when text starts with a version number ("11", "1.8.0_202", "17-ea").
bool IsVersionText(const char* text);
// True when version is at least minimum, compared numerically by component.
bool VersionAtLeast(const char* minimum, const char* version);
// True when version is at most maximum, compared on as many components as
// maximum has: "17" admits every 17.x, "17.0.2" admits 17.0.2.1 but not 17.0.3.
bool VersionAtMost(const char* maximum, const char* version);
