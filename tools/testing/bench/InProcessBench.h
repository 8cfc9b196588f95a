#pragma once
// The in-process start beside the child start of the same application in
// one run: both through the console launcher, which waits for the
// application, so each start is timed from CreateProcess to the end of an
// application whose main returns at once.
#include <string>

// Measures runs pairs (after warm-up pairs) in the folder tmp, prints a
// short table and writes <build>\bench-inprocess.json. Without the stand-in
// jvm.dll in this build it prints one line saying so and returns true.
// False when a start failed.
bool RunInProcessBench(const std::string& tmp, const std::string& consoleLauncher, int runs);
