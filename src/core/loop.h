// Start-up and the main loop.
#pragma once

#include <string>

#include "core/editor.h"
#include "core/pass_flow.h"

// Everything before the loop. `messages` receives warnings for standard error. Returns false
// when the editor cannot start (the message then says why; exit with a non-zero code).
bool startEditor(Editor& ed, const std::string& commandLine, const std::string& settingsPath,
                 std::string& messages);

// One pass of the loop. Returns false once the program should end (exit code 0).
bool runPass(Editor& ed);

// Start-up, then passes until Quit or the close request. Returns the exit code.
int runEditor(Platform& platform, const std::string& commandLine);

// The program's arguments joined by single blanks: the whole text names one file.
std::string joinCommandLine(int argc, char** argv);
