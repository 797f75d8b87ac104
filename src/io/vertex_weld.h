// Welding of bit-identical points into shared vertices during an import.
#pragma once

#include <bit>
#include <cstdint>
#include <span>
#include <vector>

#include "model/model.h"

// Open-addressing table from the 12 bytes of a point to its vertex index. The slots are two
// scratch tables taken together (the model's per-vertex ones: 2·(maxv + 1) entries), so the
// table needs no memory of its own. Only a front part of them is used, sized from the vertices
// expected and grown (the vertices made so far inserted again) before it is three quarters
// full: a small model in large capacities clears and touches only what it needs. Vertices are
// appended to `vertices` in the order in which each distinct point first appears: the indices
// are those a linear search over the vertices found so far would give.
//
// Points are welded a run at a time. Meshes are mostly written in order, a corner's
// neighbours close to it in the file: a small table of the points met lately, small enough
// to stay in the cache, answers most of a run's points first. The rest, each distinct point
// once and in order of first appearance, then go to the large table, whose every lookup is a
// trip to main memory; the search asks for the slots and the vertices they name a few points
// ahead, so the processor overlaps those trips. The two scratch tables are two tables, a
// point's hash choosing one: each is searched by its own thread (see model/parallel_for.h),
// and the new vertices are numbered afterwards, in order, so the result is the same for any
// number of threads.
class VertexWelder {
 public:
  // Vertices go to vertices[0], [1], ..., at most `room` of them; `expected` is about how many
  // distinct points will come (it only sizes the table at first). The slots need not be zero.
  VertexWelder(std::span<int32_t> first, std::span<int32_t> second, Vec3* vertices, int32_t room,
               int32_t expected);
  int32_t count() const { return count_; }
  // Slots of the table in use now (both parts).
  uint32_t tableSize() const { return total_; }

  // out[i] = the index of the vertex whose coordinates are bit for bit those of points[i],
  // for i = 0 .. n - 1 in order; a new vertex is appended for a point met for the first time.
  // Once the count reaches the room no vertex is made: the points that would need one, and
  // those after them that are new to this run, get -1, and so does every point of later runs.
  void weld(const Vec3* points, int32_t n, int32_t* out);

 private:
  struct Lookup {
    uint32_t hashHigh;  // picks the part and the home slot for the table's current size
    uint32_t recent;    // its entry among the recent points
    uint32_t tag;       // more bits of its hash: an entry of another point mostly differs
    int32_t slotTag;    // the bits of the hash a slot keeps, in place
  };
  struct Recent {
    int32_t index;  // vertex index + 1, or -(k + 1) for pending point k of the current run, or 0
    uint32_t tag;
  };
  struct Slot {
    uint32_t part, home;
  };
  struct Pending {
    Vec3 point;
    Lookup at;
    Slot slot;  // found once the table has its size for the run
  };
  static constexpr uint32_t kRecentEntries = 1u << 16;

  Lookup lookup(Vec3 p) const;
  Slot slotOf(uint32_t hashHigh) const;
  // Makes the table at least `slots` large (at most the scratch tables' size), clears it and
  // inserts the vertices made so far again.
  void resize(uint64_t slots);
  // For pending point k: its vertex index, or -1 for a new point, or -(j + 2) when pending
  // point j of this run is the same point. A new point takes its slot, which goes to *taken,
  // unless `taken` is null.
  int32_t search(size_t k, int32_t** taken);
  // Searches the pending points k < end of one part, from where the last call stopped.
  void searchPart(uint32_t part, size_t end);

  int32_t* table_[2];
  uint32_t capacity_[2];  // slots each scratch table has
  uint32_t size_[2] = {0, 0}, total_ = 0;
  Vec3* vertices_;
  int32_t room_;
  // A slot holds vertex index + 1 in its low `indexBits_` bits and, above them, as many bits of
  // the point's hash as are left over: most slots of other points are passed by without
  // reading their vertex.
  int indexBits_;
  int32_t count_ = 0;
  // The points met lately, compared by tag before their coordinates are read.
  std::vector<Recent> recent_ = std::vector<Recent>(kRecentEntries);
  bool recentWorks_ = true;  // the last run that asked them found a quarter of its points
  uint32_t runsWithoutRecent_ = 0;
  std::vector<Pending> pending_;
  // The search of one part, by one thread: its own rows, so the threads write no line in common.
  struct alignas(64) PartSearch {
    std::vector<uint32_t> points;  // the pending points of the part, in order
    std::vector<int32_t> found;    // what search gave for each
    std::vector<int32_t*> taken;   // the slot it took for each new point
    size_t next = 0;               // the first not searched yet
  };
  PartSearch parts_[2];
  uint32_t used_[2] = {0, 0};      // slots of each part that hold a vertex
  std::vector<int32_t> resolved_;  // per pending point: its vertex index, or -1
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
