#include "io/safe_write.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

constexpr size_t kBufferBytes = 1 << 16;
constexpr int kMaxLinks = 40;  // as the kernel allows when it follows a path

std::string folderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// A tag no other process can guess: 16 hex digits from the kernel's random source.
std::string randomTag() {
  uint64_t bits = 0;
  if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bits)) {
    static uint64_t counter = 0;
    bits = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) *
               0x9E3779B97F4A7C15ull +
           ++counter;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(bits));
  return text;
}

std::string temporaryName(const std::string& folder) {
  return folder + "/.kovrin-" + std::to_string(::getpid()) + "-" + randomTag() + ".tmp";
}

// A temporary without a name in `folder`, or -1 where the file system cannot make one.
int openUnnamed(const std::string& folder) {
#ifdef O_TMPFILE
  // commit() names it through /proc; without /proc the named way is taken.
  if (::access("/proc/self/fd", X_OK) != 0) return -1;
  return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
#else
  (void)folder;
  return -1;
#endif
}

int openNamed(const std::string& folder, std::string& name) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    name = temporaryName(folder);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

std::string resolveSaveTarget(const std::string& name) {
  std::string path = name;
  for (int hop = 0; hop <= kMaxLinks; ++hop) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string link(static_cast<size_t>(std::max<off_t>(st.st_size, 0)) + 256, '\0');
    const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
    if (n <= 0 || static_cast<size_t>(n) >= link.size()) return {};
    link.resize(static_cast<size_t>(n));
    // A relative link is relative to the folder that holds it.
    path = link.front() == '/' ? link : folderOf(path) + "/" + link;
  }
  return {};  // a loop of links
}

SafeFileWriter::SafeFileWriter(std::string target) {
  buffer_.resize(kBufferBytes);
  failed_ = true;
  if (target.empty()) return;
  target_ = resolveSaveTarget(target);
  if (target_.empty()) return;
  struct stat st {};
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) return;
  if (exists) {
    // Only a regular file we may write to is replaced: not a device, a FIFO, a socket or a
    // folder, and not a file whose permissions say no.
    if (!S_ISREG(st.st_mode)) return;
    if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) return;
  }
  const std::string folder = folderOf(target_);
  fd_ = openUnnamed(folder);
  unnamed_ = fd_ >= 0;
  if (fd_ < 0) fd_ = openNamed(folder, temp_);
  if (fd_ < 0) {
    temp_.clear();
    return;
  }
  // A file that is replaced keeps its permission bits.
  if (exists && ::fchmod(fd_, st.st_mode & 07777) != 0) {
    abandon();
    return;
  }
  failed_ = false;
}

SafeFileWriter::~SafeFileWriter() {
  abandon();
}

void SafeFileWriter::abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
  failed_ = true;
}

void SafeFileWriter::flush() {
  size_t done = 0;
  while (!failed_ && done < used_) {
    const ssize_t n = ::write(fd_, buffer_.data() + done, used_ - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failed_ = true;
      break;
    }
    done += static_cast<size_t>(n);
  }
  used_ = 0;
}

void SafeFileWriter::put(const void* data, size_t n) {
  const auto* src = static_cast<const uint8_t*>(data);
  while (n > 0 && !failed_) {
    if (used_ == buffer_.size()) flush();
    const size_t step = std::min(n, buffer_.size() - used_);
    std::memcpy(buffer_.data() + used_, src, step);
    used_ += step;
    src += step;
    n -= step;
  }
}

void SafeFileWriter::putI32(int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  const uint8_t b[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8),
                        static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 24)};
  put(b, 4);
}

void SafeFileWriter::putU16(uint16_t v) {
  const uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
  put(b, 2);
}

bool SafeFileWriter::commit() {
  if (!failed_) flush();
  if (failed_ || ::fsync(fd_) != 0) {
    abandon();
    return false;
  }
  if (unnamed_) {
    // The complete file gets a name of its own in the target's folder just before the
    // rename: a crash before this point leaves nothing behind.
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    const std::string folder = folderOf(target_);
    bool linked = false;
    for (int attempt = 0; attempt < 16 && !linked; ++attempt) {
      temp_ = temporaryName(folder);
      linked = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp_.c_str(), AT_SYMLINK_FOLLOW) == 0;
      if (!linked && errno != EEXIST) break;
    }
    if (!linked) {
      temp_.clear();
      abandon();
      return false;
    }
  }
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 || ::rename(temp_.c_str(), target_.c_str()) != 0) {
    abandon();
    return false;
  }
  temp_.clear();
  return true;
}

int removeStaleTemporaries(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return 0;
  int removed = 0;
  const std::string prefix = ".kovrin-";
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name.size() < prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - 4, 4, ".tmp") != 0)
      continue;
    const size_t dash = name.find('-', prefix.size());
    if (dash == std::string::npos || dash == prefix.size()) continue;
    const std::string digits = name.substr(prefix.size(), dash - prefix.size());
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9) continue;
    const pid_t pid = static_cast<pid_t>(std::stol(digits));
    // Only a process that no longer exists is known to have left it for good.
    if (pid <= 0 || ::kill(pid, 0) == 0 || errno != ESRCH) continue;
    const std::string path = folder + "/" + name;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
      continue;
    if (::unlink(path.c_str()) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}
