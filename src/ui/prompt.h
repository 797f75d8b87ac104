// The modal text prompt.
#pragma once

#include <string>
#include <string_view>

#include "core/editor.h"

// Shows the prompt with a 26-character title and returns the answer ("" when cancelled or
// when the window close request arrived, which also raises the quit request).
std::string textPrompt(Editor& ed, std::string_view title);
// Cuts one comma-separated field out of a typed line (leading blanks and tabs skipped,
// double quotes keep commas), at most 4096 characters.
std::string cutPromptAnswer(std::string_view line);
