#pragma once
// configure and show, the commands that need nothing but files: the same
// code on every system the tool builds for. The platform's entry point
// turns its command line into UTF-8 arguments and writes the texts.
#include <string>

#include "tools/jarstart-tool/ToolArgs.h"

// The tool's exit code for every bad input.
const int kToolBadInput = 2;

// What a command wrote: standard output and standard error, UTF-8.
struct ToolOutput {
    std::string out;
    std::string err;
};

// Runs configure or show; trace belongs to the platform. Returns the exit code.
int RunFileCommand(const ToolArgs& args, ToolOutput* output);

// The line for an error: "jarstart-tool: " message "\n".
std::string ToolErrorLine(const std::string& message);
