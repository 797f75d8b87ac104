// The welder against a plain map from a point's bits to the first index given to it: tables
// that start far too small and grow, runs larger than a table at its largest, the room running
// out part-way, points that all hash into one of the two tables, files in order and shuffled.
#include "io/vertex_weld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <random>
#include <unordered_map>
#include <vector>

namespace {

struct KeyHash {
  size_t operator()(const std::array<uint32_t, 3>& k) const {
    return (size_t{k[0]} * 0x9E3779B97F4A7C15ull) ^ (size_t{k[1]} << 21) ^ k[2];
  }
};

std::array<uint32_t, 3> keyOf(Vec3 p) {
  return {std::bit_cast<uint32_t>(p.x), std::bit_cast<uint32_t>(p.y), std::bit_cast<uint32_t>(p.z)};
}

TEST(VertexWeld, MatchesAMapOfFirstIndicesAsTheTableGrowsAndTheRoomRunsOut) {
  const struct Case {
    int32_t points, distinct, room, expected, slotsEach, run;
    bool shuffled, onePart;
  } cases[] = {
      {300000, 60000, 100000, 10, 100001, 98304, false, false},     // grows from the smallest table
      {300000, 60000, 100000, 10, 100001, 98304, true, false},      // the same in no order
      {200000, 150000, 100000, 50000, 100001, 98304, true, false},  // the room runs out
      {200000, 90000, 1000, 1000, 1001, 98304, false, false},       // a tiny room, long runs
      {50000, 40000, 60000, 100, 60001, 777, true, false},          // many short runs
      {100000, 50000, 60000, 10, 60001, 98304, true, true},         // all in one table
  };
  std::mt19937 rng(2024);
  for (const Case& c : cases) {
    // A pool of distinct points (both zeros among the coordinates); the file walks a strip of
    // it in order, with each point used several times near itself, or the same shuffled.
    std::vector<Vec3> pool;
    for (int32_t i = 0; static_cast<int32_t>(pool.size()) < c.distinct; ++i) {
      const Vec3 p{static_cast<float>(i % 97), i % 2 == 0 ? 0.0f : -0.0f,
                   static_cast<float>(i / 97) * 0.25f};
      const auto [x, y, z] = keyOf(p);
      if (!c.onePart || weld_detail::hashPoint(x, y, z) >> 63 == 0) pool.push_back(p);
    }
    std::vector<Vec3> points;
    for (int32_t i = 0; i < c.points; ++i)
      points.push_back(pool[static_cast<size_t>(
          std::min<int64_t>(c.distinct - 1, int64_t{i} * c.distinct / c.points + rng() % 5))]);
    if (c.shuffled) std::shuffle(points.begin(), points.end(), rng);

    {
      SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
      std::vector<int32_t> first(static_cast<size_t>(c.slotsEach), 7);  // not zero at first
      std::vector<int32_t> second(static_cast<size_t>(c.slotsEach), -3);
      std::vector<Vec3> vertices(static_cast<size_t>(c.room) + 1);
      VertexWelder welder(first, second, vertices.data(), c.room, c.expected);
      const uint32_t firstSize = welder.tableSize();

      std::unordered_map<std::array<uint32_t, 3>, int32_t, KeyHash> seen;
      int32_t made = 0;
      std::vector<int32_t> out(static_cast<size_t>(c.run));
      for (int32_t at = 0; at < c.points; at += c.run) {
        const int32_t n = std::min(c.run, c.points - at);
        welder.weld(&points[static_cast<size_t>(at)], n, out.data());
        for (int32_t i = 0; i < n; ++i) {
          const Vec3 p = points[static_cast<size_t>(at + i)];
          auto it = seen.find(keyOf(p));
          if (it == seen.end()) it = seen.emplace(keyOf(p), made < c.room ? made++ : -1).first;
          ASSERT_EQ(out[static_cast<size_t>(i)], it->second) << at + i;
        }
      }
      ASSERT_EQ(welder.count(), made);
      for (const auto& [key, index] : seen)
        if (index >= 0) {
          ASSERT_EQ(keyOf(vertices[static_cast<size_t>(index)]), key);
        }
      if (c.expected < c.distinct / 4 && made == c.distinct) {
        EXPECT_GT(welder.tableSize(), firstSize);
      }
      EXPECT_LE(welder.tableSize(), 2u * static_cast<uint32_t>(c.slotsEach));
    }
  }
}

}  // namespace
