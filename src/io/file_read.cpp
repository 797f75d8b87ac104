#include "io/file_read.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>

#include "model/edit_result.h"

namespace {

// Smaller buffers come from the heap; so does every buffer in a build with AddressSanitizer,
// which then guards its ends.
#if defined(__SANITIZE_ADDRESS__)
constexpr size_t kMappedFrom = SIZE_MAX;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr size_t kMappedFrom = SIZE_MAX;
#else
constexpr size_t kMappedFrom = size_t{1} << 20;
#endif
#else
constexpr size_t kMappedFrom = size_t{1} << 20;
#endif
constexpr size_t kHugePage = size_t{2} << 20;
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

size_t mappedBytes(size_t bytes) {
  return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

}  // namespace

void* allocateFileMemory(size_t bytes) {
  if (bytes < kMappedFrom) return ::operator new(bytes);
  void* p = ::mmap(nullptr, mappedBytes(bytes), PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  // Both are hints: without them the pages still come, one fault at a time.
  ::madvise(p, mappedBytes(bytes), MADV_HUGEPAGE);
  ::madvise(p, mappedBytes(bytes), MADV_POPULATE_WRITE);
  return p;
}

void freeFileMemory(void* p, size_t bytes) noexcept {
  if (bytes < kMappedFrom) {
    ::operator delete(p);
    return;
  }
  ::munmap(p, mappedBytes(bytes));
}

namespace {

ReadStatus openError(int error) {
  if (error == EACCES || error == EPERM) return ReadStatus::PermissionDenied;
  // A socket, or a device without a driver, cannot be opened at all.
  if (error == ENXIO || error == ENODEV) return ReadStatus::NotRegularFile;
  // Only a name that leads nowhere is "not found"; running out of descriptors or memory, or
  // an I/O error, is a failed read of a file that may well be there.
  if (error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG || error == ELOOP)
    return ReadStatus::NotFound;
  return ReadStatus::ReadFailed;
}

// Reads until the buffer is full or the file ends; false on a read error.
bool readInto(int fd, uint8_t* at, size_t want, size_t& got) {
  got = 0;
  while (got < want) {
    const ssize_t n = ::read(fd, at + got, want - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  return true;
}

// Opens `path` for reading without blocking; a regular file gets blocking reads from then on
// and its length in `size`. Ok, or why not (the descriptor is then closed).
ReadStatus openRegular(const std::string& path, int& fd, int64_t& size) {
  fd = -1;
  if (path.empty()) return ReadStatus::NotFound;
  // O_NONBLOCK: opening a FIFO without a writer would otherwise wait for one forever.
  int f = -1;
  do {
    f = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  } while (f < 0 && errno == EINTR);
  if (f < 0) return openError(errno);
  struct stat st {};
  ReadStatus status = ReadStatus::ReadFailed;
  if (::fstat(f, &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      status = ReadStatus::Directory;
    } else if (!S_ISREG(st.st_mode)) {
      status = ReadStatus::NotRegularFile;
    } else {
      // Blocking reads from here on: a regular file never waits for a writer.
      const int flags = ::fcntl(f, F_GETFL);
      if (flags >= 0 && ::fcntl(f, F_SETFL, flags & ~O_NONBLOCK) == 0) status = ReadStatus::Ok;
    }
  }
  if (status != ReadStatus::Ok) {
    ::close(f);
    return status;
  }
  fd = f;
  size = st.st_size;
  return status;
}

FileBytes readOpen(int fd, int64_t size, int64_t maxBytes, OverLimit overLimit) {
  FileBytes out;
  const int64_t limit = std::max<int64_t>(maxBytes, 0);
  if (size > limit && overLimit == OverLimit::Refuse) return {ReadStatus::TooLarge, {}, false};
  // The size is only a first guess: the file may grow or shrink while we read it.
  size_t used = 0;
  out.bytes.resize(static_cast<size_t>(std::min<int64_t>(size, limit)));
  for (;;) {
    size_t got = 0;
    if (!readInto(fd, out.bytes.data() + used, out.bytes.size() - used, got)) {
      out.bytes.clear();
      return out;
    }
    used += got;
    if (used < out.bytes.size()) break;  // the end of the file
    // Full: one more byte tells whether the file goes on.
    uint8_t extra = 0;
    size_t more = 0;
    if (!readInto(fd, &extra, 1, more)) {
      out.bytes.clear();
      return out;
    }
    if (more == 0) break;
    if (static_cast<int64_t>(used) >= limit) {
      if (overLimit == OverLimit::Refuse) return {ReadStatus::TooLarge, {}, false};
      out.truncated = true;
      break;
    }
    const size_t grown = static_cast<size_t>(
        std::min<int64_t>(limit, std::max<int64_t>(2 * static_cast<int64_t>(used), 4096)));
    out.bytes.resize(grown);
    out.bytes[used++] = extra;
  }
  out.bytes.resize(used);
  out.status = ReadStatus::Ok;
  return out;
}

}  // namespace

FileBytes readFileBytes(const std::string& path, int64_t maxBytes, OverLimit overLimit) {
  int fd = -1;
  int64_t size = 0;
  const ReadStatus opened = openRegular(path, fd, size);
  if (opened != ReadStatus::Ok) return {opened, {}, false};
  FileBytes out;
  try {
    out = readOpen(fd, size, maxBytes, overLimit);
  } catch (const std::bad_alloc&) {
    // More than the memory we may use: as good as a file longer than the limit.
    out = {ReadStatus::TooLarge, {}, false};
  }
  ::close(fd);
  return out;
}

bool SpanSource::read(void* to, size_t n) {
  if (n > bytes_.size() - at_) return false;
  if (n > 0) std::memcpy(to, bytes_.data() + at_, n);
  at_ += n;
  return true;
}

FileReader::FileReader(const std::string& path) {
  status_ = openRegular(path, fd_, size_);
  if (status_ != ReadStatus::Ok) return;
  const size_t want = static_cast<size_t>(std::clamp<int64_t>(size_, 0, kHeadBytes));
  if (!readInto(fd_, head_.data(), want, headSize_)) status_ = ReadStatus::ReadFailed;
}

FileReader::~FileReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool FileReader::read(void* to, size_t n) {
  if (status_ != ReadStatus::Ok) return false;
  auto* out = static_cast<uint8_t*>(to);
  const size_t fromHead = std::min(n, headSize_ - headRead_);
  if (fromHead > 0) std::memcpy(out, head_.data() + headRead_, fromHead);
  headRead_ += fromHead;
  size_t got = 0;
  return readInto(fd_, out + fromHead, n - fromHead, got) && got == n - fromHead;
}

bool FileReader::atEnd() {
  uint8_t extra = 0;
  size_t got = 0;
  return status_ == ReadStatus::Ok && headRead_ == headSize_ && readInto(fd_, &extra, 1, got) &&
         got == 0;
}

uint8_t readStatusMessage(ReadStatus status) {
  switch (status) {
    case ReadStatus::Ok:
      return kMsgNone;
    case ReadStatus::NotFound:
    case ReadStatus::Directory:
      return kMsgFileNotFound;
    case ReadStatus::PermissionDenied:
      return kMsgPermissionDenied;
    case ReadStatus::TooLarge:
      return kMsgTooManyTriangles;
    case ReadStatus::NotRegularFile:
    case ReadStatus::ReadFailed:
      break;
  }
  return kMsgDamagedFile;
}
