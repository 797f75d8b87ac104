#include "io/vertex_weld.h"

#include <algorithm>
#include <bit>

namespace {

uint64_t hashPoint(uint32_t x, uint32_t y, uint32_t z) {
  uint64_t h = x * 0x9E3779B97F4A7C15ull;
  h ^= (y + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full;
  h ^= (z + 0x165667B19E3779F9ull) * 0xD6E8FEB86659FD93ull;
  h ^= h >> 32;
  h *= 0xD6E8FEB86659FD93ull;
  h ^= h >> 29;
  return h;
}

bool sameBits(Vec3 a, uint32_t x, uint32_t y, uint32_t z) {
  return std::bit_cast<uint32_t>(a.x) == x && std::bit_cast<uint32_t>(a.y) == y &&
         std::bit_cast<uint32_t>(a.z) == z;
}

}  // namespace

VertexWelder::VertexWelder(Model& m)
    : m_(m),
      first_(m.vertexMark.data()),
      second_(m.vertexRemap.data()),
      firstSize_(static_cast<uint32_t>(m.vertexMark.size())),
      total_(static_cast<uint32_t>(m.vertexMark.size() + m.vertexRemap.size())) {
  // Slots hold vertex index + 1; 0 is an empty slot.
  std::fill(m.vertexMark.begin(), m.vertexMark.end(), 0);
  std::fill(m.vertexRemap.begin(), m.vertexRemap.end(), 0);
}

uint32_t VertexWelder::home(Vec3 p) const {
  const uint64_t h = hashPoint(std::bit_cast<uint32_t>(p.x), std::bit_cast<uint32_t>(p.y),
                               std::bit_cast<uint32_t>(p.z));
  // Map the hash onto 0 .. total - 1 without a division.
  return static_cast<uint32_t>(((h >> 32) * total_) >> 32);
}

void VertexWelder::prefetch(uint32_t slotIndex) const {
  const int32_t* s =
      slotIndex < firstSize_ ? first_ + slotIndex : second_ + (slotIndex - firstSize_);
  __builtin_prefetch(s);
}

int32_t VertexWelder::weldAt(Vec3 p, uint32_t i) {
  const uint32_t x = std::bit_cast<uint32_t>(p.x);
  const uint32_t y = std::bit_cast<uint32_t>(p.y);
  const uint32_t z = std::bit_cast<uint32_t>(p.z);
  for (;;) {
    int32_t& s = slot(i);
    if (s == 0) {
      const int32_t index = m_.vertexCount++;
      m_.vertexPos[index] = p;
      s = index + 1;
      return index;
    }
    if (sameBits(m_.vertexPos[s - 1], x, y, z)) return s - 1;
    if (++i == total_) i = 0;
  }
}
