// Welding of bit-identical points into shared vertices during an import.
#pragma once

#include <bit>
#include <cstdint>
#include <span>

#include "model/model.h"

// Open-addressing table from the 12 bytes of a point to its vertex index. The slots are two
// scratch tables taken together (the model's per-vertex ones: 2·(maxv + 1) entries), a point's
// hash choosing the table, so the welder needs no memory of its own. Only a front part of each
// is used, sized from the vertices expected and grown (the vertices made so far inserted again)
// before it can be three quarters full: a small model in large capacities clears and touches
// only what it needs. Vertices are appended to `vertices` in the order in which each distinct
// point first appears: the indices are those a linear search over the vertices found so far
// would give.
//
// Points are welded a group at a time. In a file in no order every lookup misses the cache
// twice, at the home slot and at the vertex whose coordinates decide; the lookups of a group do
// not wait for one another: the group's home slots are asked for first, then the vertices they
// name, and only then is each point searched for, in order, mostly in the cache. In a file in
// mesh order the slots and vertices of a corner's neighbours are still in the cache.
class VertexWelder {
 public:
  // Vertices go to vertices[0], [1], ..., at most `room` of them (fewer than either scratch
  // table has slots); `expected` is about how many distinct points will come (it only sizes the
  // table at first). The slots need not be zero.
  VertexWelder(std::span<int32_t> first, std::span<int32_t> second, Vec3* vertices, int32_t room,
               int32_t expected);
  int32_t count() const { return count_; }
  // Slots of the table in use now (both parts).
  uint32_t tableSize() const { return size_[0] + size_[1]; }

  // out[i] = the index of the vertex whose coordinates are bit for bit those of points[i],
  // for i = 0 .. n - 1 in order; a new vertex is appended for a point met for the first time.
  // Once the count reaches the room no vertex is made: a point that would need one gets -1.
  void weld(const Vec3* points, int32_t n, int32_t* out);

 private:
  struct Lookup {
    uint32_t part, home;  // the point's table and its first slot there
    int32_t tag;          // the bits of the hash a slot keeps, in place
  };

  Lookup lookup(Vec3 p) const;
  // Makes the table `slots` large (at most the scratch tables' size), clears it and inserts
  // the vertices made so far again.
  void resize(uint64_t slots);
  // The index of p's vertex, made in the slot where the search ends when p is new.
  int32_t find(Vec3 p, const Lookup& at);

  int32_t* table_[2];
  uint32_t capacity_[2];  // slots each scratch table has
  uint32_t size_[2] = {0, 0};
  uint32_t used_[2] = {0, 0};  // slots of each part that hold a vertex
  Vec3* vertices_;
  int32_t room_;
  // A slot holds vertex index + 1 in its low `indexBits_` bits and, above them, as many bits of
  // the point's hash as are left over: most slots of other points are passed by without
  // reading their vertex.
  int indexBits_;
  int32_t indexMask_;
  int32_t count_ = 0;
};

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

inline bool sameBits(Vec3 a, Vec3 b) {
  return std::bit_cast<uint32_t>(a.x) == std::bit_cast<uint32_t>(b.x) &&
         std::bit_cast<uint32_t>(a.y) == std::bit_cast<uint32_t>(b.y) &&
         std::bit_cast<uint32_t>(a.z) == std::bit_cast<uint32_t>(b.z);
}

}  // namespace weld_detail
