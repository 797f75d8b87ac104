#include "core/settings.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

const std::string_view kDefaultSettingsText =
    "'''' settings file for KOVRIN\r\n"
    "''''\r\n"
    "'''' screen modes:\r\n"
    "''''\r\n"
    "''''    13 - 320x200    14 - 320x240    15 - 400x300\r\n"
    "''''    16 - 512x384    17 - 640x400    18 - 640x480\r\n"
    "''''    19 - 800x600    20 - 1024x768   21 - 1280x1024\r\n"
    "''''\r\n"
    "mode = 19\r\n"
    "\r\n"
    "'''' color depth: 8,15,16, or 32\r\n"
    "''''\r\n"
    "cdep = 32\r\n"
    "\r\n"
    "'''' detail level: 0 = low, 1 = normal, 2 = antialiased\r\n"
    "''''\r\n"
    "rdet = 1\r\n"
    "\r\n"
    "'''' maxv, maxt, maxl\r\n"
    "'''' the maximum numbers of verteces, triangles, and lines\r\n"
    "'''' determines how much memory is allocated\r\n"
    "''''\r\n"
    "maxv = 1000000\r\n"
    "maxt = 1000000\r\n"
    "maxl = 1000\r\n";

namespace {

// Reads a number from `pos`: non-digits are skipped until the first digit, the first
// non-digit after it ends the number (and is consumed), a carriage return always ends it.
// 32-bit arithmetic without an overflow test.
int32_t scanNumber(std::string_view text, size_t& pos) {
  uint32_t value = 0;
  int digits = 0;
  while (pos < text.size()) {
    const unsigned char b = static_cast<unsigned char>(text[pos++]);
    if (b == 13) break;
    if (b >= '0' && b <= '9') {
      value = value * 10u + static_cast<uint32_t>(b - '0');
      ++digits;
    } else if (digits > 0) {
      break;
    }
  }
  return static_cast<int32_t>(value);
}

}  // namespace

void scanSettings(std::string_view text, Settings& s) {
  size_t pos = 0;
  for (;;) {
    // The key is the next four bytes of the file, wherever a line starts.
    const std::string_view key = text.substr(pos, 4);
    pos += key.size();
    if (key == "mode") {
      s.mode = scanNumber(text, pos);
    } else if (key == "cdep") {
      s.cdep = scanNumber(text, pos);
    } else if (key == "rdet") {
      s.rdet = static_cast<uint8_t>(scanNumber(text, pos) & 0xFF);
    } else if (key == "maxv") {
      s.maxv = scanNumber(text, pos);
    } else if (key == "maxt") {
      s.maxt = scanNumber(text, pos);
    } else if (key == "maxl") {
      s.maxl = scanNumber(text, pos);
    }
    // Skip to the byte after the next line feed.
    bool nextLine = false;
    while (pos < text.size()) {
      if (text[pos++] == '\n') {
        nextLine = true;
        break;
      }
    }
    if (!nextLine) return;
  }
}

std::string readSettings(const std::string& path, Settings& s) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    return path + " is not a regular file; using the built-in settings";
  }
  const bool present = std::filesystem::exists(status);
  const auto size = present ? std::filesystem::file_size(path, ec) : 0;
  if (present && ec) return "could not read " + path + "; using the built-in settings";
  if (!present || size == 0) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(kDefaultSettingsText.data(),
              static_cast<std::streamsize>(kDefaultSettingsText.size()));
    out.close();
    if (!out) return "could not create " + path + "; using the built-in settings";
    return {};
  }
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) return "could not read " + path + "; using the built-in settings";
  scanSettings(text, s);
  return {};
}
