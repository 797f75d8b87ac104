// What the program prints for --help and --version instead of opening its window.
#pragma once

#include <optional>
#include <string>

// The command line with the window option taken off its front: "--scale N" (N whole,
// 1..kMostWindowScale) may come first; the remaining arguments joined by single blanks are the
// text the rest of the program reads (one file name, or --help / --version).
struct LaunchArgs {
  int windowScale = 0;      // 0 when --scale is not given
  std::string commandLine;  // the remaining text
  std::string error;        // for standard error when --scale has no usable number
};
LaunchArgs parseLaunchArgs(int argc, char** argv);

// The usage text or the version line when the whole command-line text is exactly "--help" or
// "--version"; nothing for any other text (which names a model file).
std::optional<std::string> commandLineInfo(const std::string& commandLine);
