// Reading a file we were given by name: opened without blocking (a FIFO or a device cannot
// hang the editor), refused unless it is a regular file, and read once, whole, into one
// buffer. Everything a reader checks and builds from comes from that one buffer, so a file
// rewritten by another process while we read cannot slip past the checks.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <new>
#include <span>
#include <string>
#include <utility>
#include <vector>

enum class ReadStatus : uint8_t {
  Ok,
  NotFound,          // no such name (or a folder on the way is missing)
  PermissionDenied,  // the name exists but we may not read it
  Directory,         // a folder
  NotRegularFile,    // a FIFO, socket or device
  TooLarge,          // longer than the limit the caller set, or than the memory we may use
  ReadFailed,        // the read itself failed (I/O error)
};

// Memory for whole files (see FileBufferAllocator).
void* allocateFileMemory(size_t bytes);
void freeFileMemory(void* p, size_t bytes) noexcept;

// Memory for a whole file. A file of a megabyte or more gets its pages from the kernel in
// one piece, faulted in ahead in huge pages where the kernel allows (one page fault per
// 4 KiB made reading a 50 MB file several times slower than parsing it); and no byte is
// zeroed first, since the read fills them all.
template <class T>
struct FileBufferAllocator {
  using value_type = T;
  FileBufferAllocator() = default;
  template <class U>
  FileBufferAllocator(const FileBufferAllocator<U>&) noexcept {}
  T* allocate(size_t n) { return static_cast<T*>(allocateFileMemory(n * sizeof(T))); }
  void deallocate(T* p, size_t n) noexcept { freeFileMemory(p, n * sizeof(T)); }
  // Elements made without a value are left as they are.
  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  template <class U>
  bool operator==(const FileBufferAllocator<U>&) const noexcept {
    return true;
  }
};
using FileBuffer = std::vector<uint8_t, FileBufferAllocator<uint8_t>>;

// What to do with a file longer than the limit.
enum class OverLimit : uint8_t { Refuse, Truncate };

struct FileBytes {
  ReadStatus status = ReadStatus::ReadFailed;
  FileBuffer bytes;        // the whole file (or its first maxBytes when truncated)
  bool truncated = false;  // OverLimit::Truncate and more bytes followed
};

// Reads the regular file at `path` in one pass. With OverLimit::Refuse a file longer than
// `maxBytes` gives TooLarge and no bytes; with OverLimit::Truncate its first `maxBytes` bytes
// come back with `truncated` set. The descriptor is closed on every path.
FileBytes readFileBytes(const std::string& path, int64_t maxBytes,
                        OverLimit overLimit = OverLimit::Refuse);

// Bytes read front to back in pieces, for loads that build as they read instead of holding a
// whole file. Each byte is read once, so what a load checks is what it builds from.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // The length when reading began (a file may still change while it is read).
  virtual int64_t size() const = 0;
  // The first bytes (up to kHeadBytes, fewer only when there are no more): what the choice
  // of a reader looks at. They are read again by read() like any others.
  virtual std::span<const uint8_t> head() const = 0;
  // The next n bytes into `to`; false when the bytes end sooner or the read fails.
  virtual bool read(void* to, size_t n) = 0;
  // True when every byte has been read.
  virtual bool atEnd() = 0;
  static constexpr size_t kHeadBytes = 1024;
};

// Bytes already in memory.
class SpanSource : public ByteSource {
 public:
  explicit SpanSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  int64_t size() const override { return static_cast<int64_t>(bytes_.size()); }
  std::span<const uint8_t> head() const override {
    return bytes_.first(std::min(bytes_.size(), kHeadBytes));
  }
  bool read(void* to, size_t n) override;
  bool atEnd() override { return at_ == bytes_.size(); }

 private:
  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
};

// A regular file, opened as readFileBytes opens (never blocking, regular files only).
class FileReader : public ByteSource {
 public:
  explicit FileReader(const std::string& path);
  ~FileReader() override;
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  ReadStatus status() const { return status_; }
  int64_t size() const override { return size_; }
  std::span<const uint8_t> head() const override { return {head_.data(), headSize_}; }
  bool read(void* to, size_t n) override;
  bool atEnd() override;

 private:
  int fd_ = -1;
  ReadStatus status_ = ReadStatus::ReadFailed;
  int64_t size_ = 0;
  std::array<uint8_t, kHeadBytes> head_{};
  size_t headSize_ = 0, headRead_ = 0;
};

// The status message for a read that did not succeed: "Error: file not found" for missing
// names and folders, "Error: permission denied", "Error: too many triangles" for a file
// longer than anything the capacities can hold, "Error: damaged file" for the rest.
uint8_t readStatusMessage(ReadStatus status);
