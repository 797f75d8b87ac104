// A scratch folder for one test of one test process. The process id keeps builds that run the
// same test at once (release, sanitizers, several checkouts) out of each other's folders.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

inline std::filesystem::path testDirectory(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         ("kovrin_" + name + "_" + std::to_string(::getpid()));
}
