// The File-menu commands and the part-file commands: prompt, then the file operation.
#pragma once

#include <string>
#include <string_view>

#include "core/editor.h"
#include "core/pass_flow.h"
#include "ui/actions.h"

// The 26-character prompt title of a file command, empty for one without a prompt.
std::string_view fileCommandTitle(Action action);

// Runs a file command with the prompt's answer already given (ignored by " Save").
// Open, Save, save As, exPort stl, Load part from, save To file.
PassFlow runFileCommandAnswered(Editor& ed, Action action, const std::string& answer);
