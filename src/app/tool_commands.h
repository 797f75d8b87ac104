// The command-line tools that need no window and no display: --render, --thumbnail,
// --convert and --info. They read no settings file; the model is sized from the file.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// True when the first argument names one of the tools.
bool isToolCommand(const std::vector<std::string>& args);

// Runs the tool the arguments name (args[0] is the tool's option). Results for scripts go
// to `out`, a one-line message to `err` on failure. Returns the exit code: 0, or 1 on any
// failure (no output file is then left behind).
int runToolCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);
