// The tool line under the menu bar.
#pragma once

#include <string>

#include "core/input_state.h"

// The frame rate as the tool line shows it: at most 16 significant digits, no trailing
// decimal point, one blank in front of a value that is not negative.
std::string formatRate(double value);
// The text after "tool: " for the tool state at the time `now` (seconds).
std::string toolLineText(const ToolState& tools, double now);
