// Little-endian file access shared by the model, part and STL files: a chunked reader that
// never reads past the end, and the safe writer of io/safe_write.h.
#pragma once

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "io/safe_write.h"
#include "model/model.h"

inline int32_t getI32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                              (static_cast<uint32_t>(p[2]) << 16) |
                              (static_cast<uint32_t>(p[3]) << 24));
}
inline uint16_t getU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline float getF32(const uint8_t* p) {
  return std::bit_cast<float>(static_cast<uint32_t>(getI32(p)));
}
inline Vec3 getVec3(const uint8_t* p) {
  return Vec3{getF32(p), getF32(p + 4), getF32(p + 8)};
}
inline bool isFinite(Vec3 v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Reads a regular file front to back through a fixed buffer.
class FileReader {
 public:
  FileReader() = default;
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;
  ~FileReader();

  // False when the name does not exist or is not a readable regular file.
  bool open(const std::string& path);
  int64_t size() const { return size_; }
  int64_t position() const { return position_; }
  // Moves the read position; false beyond the end.
  bool seek(int64_t position);
  // The next n bytes (n at most kChunk), valid until the next call; nullptr when fewer than
  // n bytes are left or the read fails.
  const uint8_t* take(size_t n);
  // Copies the next n bytes; false when fewer are left.
  bool read(void* out, size_t n);
  // The next byte, or -1 at the end of the file.
  int nextByte() {
    if (start_ < end_) {
      ++position_;
      return buffer_[start_++];
    }
    const uint8_t* p = take(1);
    return p ? *p : -1;
  }

  static constexpr size_t kChunk = 1 << 16;

 private:
  bool fill(size_t need);

  int fd_ = -1;
  int64_t size_ = 0;
  int64_t position_ = 0;  // file offset of buffer_[start_]
  std::vector<uint8_t> buffer_;
  size_t start_ = 0, end_ = 0;
};
