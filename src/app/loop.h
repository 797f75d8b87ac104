// Start-up and the main loop.
#pragma once

#include <cstdint>
#include <string>

#include "core/editor.h"
#include "core/pass_flow.h"

// Physical memory plus swap of this machine: model arrays beyond it would only end in the
// system's killer.
uint64_t machineMemoryBytes();

// Everything before the loop. `messages` receives warnings for standard error. Returns false
// when the editor cannot start (the message then says why; exit with a non-zero code).
// Capacities whose model arrays need more than `memoryLimit` bytes end the start.
bool startEditor(Editor& ed, const std::string& commandLine, const std::string& settingsPath,
                 std::string& messages, uint64_t memoryLimit = machineMemoryBytes());

// One pass of the loop. Returns false once the program should end (exit code 0).
bool runPass(Editor& ed);

// Start-up, then passes until Quit or the close request. Returns the exit code.
int runEditor(Platform& platform, const std::string& commandLine);

// The program's arguments joined by single blanks: the whole text names one file.
std::string joinCommandLine(int argc, char** argv);
