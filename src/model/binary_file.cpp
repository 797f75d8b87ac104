#include "model/binary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

// [SECTION] reading

FileReader::~FileReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool FileReader::open(const std::string& path) {
  if (path.empty()) return false;
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  struct stat st {};
  if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  size_ = st.st_size;
  buffer_.resize(kChunk);
  start_ = end_ = 0;
  position_ = 0;
  return true;
}

bool FileReader::seek(int64_t position) {
  if (fd_ < 0 || position < 0 || position > size_) return false;
  if (::lseek(fd_, position, SEEK_SET) != position) return false;
  position_ = position;
  start_ = end_ = 0;
  return true;
}

// Makes at least `need` bytes available at buffer_[start_].
bool FileReader::fill(size_t need) {
  if (fd_ < 0 || need > kChunk) return false;
  if (end_ - start_ >= need) return true;
  std::memmove(buffer_.data(), buffer_.data() + start_, end_ - start_);
  end_ -= start_;
  start_ = 0;
  while (end_ < need) {
    const ssize_t got = ::read(fd_, buffer_.data() + end_, kChunk - end_);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    end_ += static_cast<size_t>(got);
  }
  return true;
}

const uint8_t* FileReader::take(size_t n) {
  if (!fill(n)) return nullptr;
  const uint8_t* p = buffer_.data() + start_;
  start_ += n;
  position_ += static_cast<int64_t>(n);
  return p;
}

bool FileReader::read(void* out, size_t n) {
  auto* dst = static_cast<uint8_t*>(out);
  // What is buffered first, then large blocks straight from the file into place.
  const size_t buffered = std::min(n, end_ - start_);
  if (buffered > 0) std::memcpy(dst, buffer_.data() + start_, buffered);
  start_ += buffered;
  position_ += static_cast<int64_t>(buffered);
  dst += buffered;
  n -= buffered;
  while (n >= kChunk && fd_ >= 0) {
    const ssize_t got = ::read(fd_, dst, n);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    dst += got;
    n -= static_cast<size_t>(got);
    position_ += got;
  }
  while (n > 0) {
    const size_t step = n < kChunk ? n : kChunk;
    const uint8_t* p = take(step);
    if (p == nullptr) return false;
    std::memcpy(dst, p, step);
    dst += step;
    n -= step;
  }
  return true;
}

// [SECTION] writing

namespace {

// A name for the temporary file beside the target that no other save of this run uses.
std::string temporaryName(const std::string& target) {
  static unsigned counter = 0;
  std::filesystem::path dir = std::filesystem::path(target).parent_path();
  const std::string leaf =
      ".kovrin-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".tmp";
  return dir.empty() ? leaf : (dir / leaf).string();
}

}  // namespace

SafeFileWriter::SafeFileWriter(std::string target) : target_(std::move(target)) {
  buffer_.resize(FileReader::kChunk);
  if (target_.empty()) {
    failed_ = true;
    return;
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp_ = temporaryName(target_);
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0 || errno != EEXIST) break;
  }
  if (fd_ < 0) {
    temp_.clear();
    failed_ = true;
    return;
  }
  // A file that is replaced keeps its permission bits.
  struct stat st {};
  if (::stat(target_.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::fchmod(fd_, st.st_mode & 07777);
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
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 || ::rename(temp_.c_str(), target_.c_str()) != 0) {
    abandon();
    return false;
  }
  temp_.clear();
  return true;
}
