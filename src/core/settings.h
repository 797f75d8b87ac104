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

// The most of the file that is read: every key lives in its first lines.
constexpr int64_t kSettingsReadBytes = 64 * 1024;

// Reads the file at `path` (its first kSettingsReadBytes), creating it with the default text
// when missing or empty. Returns an empty string, or a warning when the file could not be
// read or created, or was longer than what is read.
std::string readSettings(const std::string& path, Settings& s);
