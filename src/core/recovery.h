// When unsaved work is written to a recovery file: at the end of the program, after 30 idle
// seconds following a change, and how --recover opens the newest one.
#pragma once

#include <string>

#include "core/editor.h"

constexpr const char* kRecoverOption = "--recover";
constexpr double kRecoveryIdleSeconds = 30.0;

// At the end of the program: writes the model when it is unsaved (else removes this run's
// stale recovery file). A failure adds one line to `messages`; the program ends regardless.
void recoveryOnExit(Editor& ed, std::string& messages);

// On an idle pass: writes the model when it changed since the last write, nothing was input
// for 30 seconds and the last write is 30 seconds old.
void recoveryWhenIdle(Editor& ed, std::string& messages);

// The line at start naming the newest recovery file, "" when there is none.
std::string recoveryNotice();

// --recover: loads the newest recovery file with the current file set to the name it had.
// Adds a line to `messages` when there is none.
void openNewestRecovery(Editor& ed, std::string& messages);
