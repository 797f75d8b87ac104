// Welding of bit-identical points into shared vertices during an import.
#pragma once

#include <bit>
#include <cstdint>

#include "model/model.h"

// Open-addressing table from the 12 bytes of a point to its vertex index. The slots are the
// model's two per-vertex scratch tables taken together (2·(maxv + 1) entries), so the table
// needs no memory of its own and is never more than half full. Vertices are appended in the
// order in which each distinct point first appears: the indices are those a linear search
// over the vertices found so far would give.
class VertexWelder {
 public:
  // Clears the slots; the model's vertices are expected to start at vertexCount 0.
  explicit VertexWelder(Model& m);
  // The index of the vertex whose coordinates are bit for bit those of p; a new vertex is
  // appended when there is none. The caller keeps vertexCount below maxv.
  int32_t weld(Vec3 p) { return weldAt(p, home(p)); }

  // The same in two steps, so a caller can look ahead: the home slot of a point, a hint
  // to bring that slot into the cache, and the weld starting from the slot.
  uint32_t home(Vec3 p) const;
  void prefetch(uint32_t slotIndex) const;
  int32_t weldAt(Vec3 p, uint32_t slotIndex);

 private:
  int32_t& slot(uint32_t i) { return i < firstSize_ ? first_[i] : second_[i - firstSize_]; }

  Model& m_;
  int32_t* first_;
  int32_t* second_;
  uint32_t firstSize_, total_;
};

// The lookups run three times per facet of an import: defined here so that they inline into
// the import's loop.
namespace weld_detail {

inline uint64_t hashPoint(uint32_t x, uint32_t y, uint32_t z) {
  uint64_t h = x * 0x9E3779B97F4A7C15ull;
  h ^= (y + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full;
  h ^= (z + 0x165667B19E3779F9ull) * 0xD6E8FEB86659FD93ull;
  h ^= h >> 32;
  h *= 0xD6E8FEB86659FD93ull;
  h ^= h >> 29;
  return h;
}

inline bool sameBits(Vec3 a, uint32_t x, uint32_t y, uint32_t z) {
  return std::bit_cast<uint32_t>(a.x) == x && std::bit_cast<uint32_t>(a.y) == y &&
         std::bit_cast<uint32_t>(a.z) == z;
}

}  // namespace weld_detail

inline uint32_t VertexWelder::home(Vec3 p) const {
  const uint64_t h = weld_detail::hashPoint(
      std::bit_cast<uint32_t>(p.x), std::bit_cast<uint32_t>(p.y), std::bit_cast<uint32_t>(p.z));
  // Map the hash onto 0 .. total - 1 without a division.
  return static_cast<uint32_t>(((h >> 32) * total_) >> 32);
}

inline void VertexWelder::prefetch(uint32_t slotIndex) const {
  const int32_t* s =
      slotIndex < firstSize_ ? first_ + slotIndex : second_ + (slotIndex - firstSize_);
  __builtin_prefetch(s);
}

inline int32_t VertexWelder::weldAt(Vec3 p, uint32_t i) {
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
    if (weld_detail::sameBits(m_.vertexPos[s - 1], x, y, z)) return s - 1;
    if (++i == total_) i = 0;
  }
}
