// KOVRIN.INI: six start-up settings picked out of a small text file by a byte scanner.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct Settings {
  int32_t mode = 19;
  int32_t cdep = 32;
  uint8_t rdet = 1;  // low byte of the value read
  int32_t maxv = 1000000;
  int32_t maxt = 1000000;
  int32_t maxl = 1000;
};

extern const std::string_view kDefaultSettingsText;  // the 25 lines, CRLF

// Scans settings text; keys missing from it keep their values in `s`.
void scanSettings(std::string_view text, Settings& s);

// Reads the file at `path`, creating it with the default text when missing or empty.
// Returns an empty string, or a warning when the file could not be read or created.
std::string readSettings(const std::string& path, Settings& s);
