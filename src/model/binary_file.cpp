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
