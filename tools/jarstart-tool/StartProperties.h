#pragma once
// What a configured launcher may name to start: exactly what the launcher
// itself accepts, checked before a copy is written, so that a vendor learns
// of a conflict from configure rather than from a user's error box.
#include <string>
#include <vector>

// strings: the property strings from id kFirstPropertyId on (as
// LauncherImage holds them). "" when at most one of PROP_START_JAR,
// PROP_MAIN_CLASS and PROP_MAIN_MODULE is set and neither path is set without
// its class or module; otherwise a one-line message naming the properties.
std::string StartPropertiesProblem(const std::vector<std::u16string>& strings);
