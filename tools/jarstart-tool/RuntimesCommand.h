#pragma once
// jarstart-tool runtimes: every Java runtime the launcher's search can see,
// found and judged by the launcher's own runtime code, and, for a configured
// launcher, the one it would start and why not each other. Windows only.
#include "tools/jarstart-tool/ToolArgs.h"
#include "tools/jarstart-tool/ToolCommands.h"

// 0 when the launcher (or, without one, the default settings) would find a
// runtime, 1 when not, kToolBadInput for an unreadable launcher.
int RunRuntimes(const ToolArgs& args, ToolOutput* output);
