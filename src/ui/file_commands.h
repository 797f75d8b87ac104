// The File-menu commands and the part-file commands: prompt, then the file operation.
#pragma once

#include <string>
#include <string_view>

#include "core/editor.h"
#include "core/pass_flow.h"

// The 26-character prompt title of a file command, empty for one without a prompt.
std::string_view fileCommandTitle(int actionCode);

// Runs a file command with the prompt's answer already given (ignored by " Save").
// Codes 1 Open, 2 Save, 3 save As, 11 exPort stl, 31 Load part from, 32 save To file.
PassFlow runFileCommandAnswered(Editor& ed, int actionCode, const std::string& answer);
