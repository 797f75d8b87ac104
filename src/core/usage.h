// What the program prints for --help and --version instead of opening its window.
#pragma once

#include <optional>
#include <string>

// The usage text or the version line when the whole command-line text is exactly "--help" or
// "--version"; nothing for any other text (which names a model file).
std::optional<std::string> commandLineInfo(const std::string& commandLine);
