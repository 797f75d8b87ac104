#include "core/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "io/file_read.h"

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

namespace {

// Writes the default text into a new file, or into an existing empty regular file. A new
// file is created with O_EXCL | O_NOFOLLOW, so a symlink or anything else already at the
// name (or appearing there in the meantime) is never written through.
bool writeDefaultSettings(const std::string& path, bool exists) {
  const int flags = exists ? O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC
                           : O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  const int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0;
  const char* at = kDefaultSettingsText.data();
  size_t left = kDefaultSettingsText.size();
  while (ok && left > 0) {
    const ssize_t n = ::write(fd, at, left);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) {
      at += n;
      left -= static_cast<size_t>(n);
    }
  }
  return ::close(fd) == 0 && ok;
}

}  // namespace

std::string readSettings(const std::string& path, Settings& s) {
  const std::string builtIn = "; using the built-in settings";
  const FileBytes file = readFileBytes(path, kSettingsReadBytes, OverLimit::Truncate);
  switch (file.status) {
    case ReadStatus::Ok:
      break;
    case ReadStatus::NotFound:
      if (!writeDefaultSettings(path, false)) return "could not create " + path + builtIn;
      return {};
    case ReadStatus::Directory:
    case ReadStatus::NotRegularFile:
      return path + " is not a regular file" + builtIn;
    case ReadStatus::PermissionDenied:
    case ReadStatus::TooLarge:
    case ReadStatus::ReadFailed:
      return "could not read " + path + builtIn;
  }
  if (file.bytes.empty()) {
    if (!writeDefaultSettings(path, true)) return "could not create " + path + builtIn;
    return {};
  }
  const std::string_view text(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
  scanSettings(text, s);
  // Every key of the file lives in its first lines; the rest of a huge file is not read.
  if (file.truncated)
    return path + " is longer than " + std::to_string(kSettingsReadBytes / 1024) +
           " KiB; only its beginning was read";
  return {};
}
