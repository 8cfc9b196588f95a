#pragma once
// Where the tests find the build's programs and keep their scratch files.
#include <string>

// The build folder (the parent of the folder holding the test program),
// with a trailing backslash.
std::string BuildDir();
// A fresh, empty folder build\tmp\<name>\ (trailing backslash); whatever
// was there from an earlier run is removed first.
std::string MakeTempFolder(const std::string& name);
