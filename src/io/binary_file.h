// Little-endian record access shared by the model, part and STL files: field readers over a
// file's bytes, and the safe writer (io/safe_write.h) that replaces a target only when every
// byte of the new contents reached the disk.
#pragma once

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

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
