// recomputeNormals works four triangles at a time: every normal must still be bit for bit
// the step-by-step float32 result, for any count and for degenerate and extreme shapes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "model/model.h"

namespace {

Vec3 plainNormal(Vec3 a, Vec3 b, Vec3 c) {
  const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
  const float vx = c.x - b.x, vy = c.y - b.y, vz = c.z - b.z;
  const float nx = uy * vz - uz * vy;
  const float ny = uz * vx - ux * vz;
  const float nz = ux * vy - uy * vx;
  const float sq = nx * nx + ny * ny;
  float len = std::sqrt(sq + nz * nz);
  if (len == 0.0f) len = 1000000.0f;
  return {nx / len, ny / len, nz / len};
}

bool sameBits(Vec3 p, Vec3 q) {
  return std::memcmp(&p, &q, sizeof p) == 0;
}

TEST(NormalsBatch, EveryCountAndShapeMatchesThePlainFormula) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> coord(-1000.0f, 1000.0f), tiny(-1e-20f, 1e-20f),
      huge(-1e20f, 1e20f);
  std::uniform_int_distribution<int> kind(0, 9);
  for (int32_t count : {0, 1, 3, 4, 5, 7, 8, 9, 61, 203}) {
    Model m;
    ASSERT_EQ(allocateModel(m, 400, 400, 4), "");
    m.vertexCount = 300;
    for (int32_t v = 0; v < m.vertexCount; ++v) {
      const int k = kind(rng);
      auto pick = [&] { return k == 0 ? tiny(rng) : k == 1 ? huge(rng) : coord(rng); };
      m.vertexPos[v] = {pick(), pick(), pick()};
    }
    m.vertexPos[5] = m.vertexPos[6];  // a repeated point for degenerate triangles
    std::uniform_int_distribution<int32_t> vert(0, m.vertexCount - 1);
    for (int32_t t = 0; t < count; ++t) {
      m.triVerts[t] = {vert(rng), vert(rng), vert(rng)};
      if (t % 6 == 1) m.triVerts[t] = {5, 6, vert(rng)};      // two equal corners
      if (t % 6 == 2) m.triVerts[t] = {t % 300, t % 300, 9};  // one corner twice
    }
    m.triangleCount = count;
    m.triNormal[count] = {42.0f, 42.0f, 42.0f};  // the row after the last stays untouched
    recomputeNormals(m);
    for (int32_t t = 0; t < count; ++t) {
      const Tri tri = m.triVerts[t];
      const Vec3 want = plainNormal(m.vertexPos[tri.a], m.vertexPos[tri.b], m.vertexPos[tri.c]);
      EXPECT_TRUE(sameBits(m.triNormal[t], want)) << "count " << count << " triangle " << t;
    }
    EXPECT_EQ(m.triNormal[count].x, 42.0f);
  }
}

TEST(NormalsBatch, DegenerateTrianglesInEveryLaneGetTheZeroNormal) {
  Model m;
  ASSERT_EQ(allocateModel(m, 10, 10, 4), "");
  m.vertexCount = 3;
  m.vertexPos[0] = {0, 0, 0};
  m.vertexPos[1] = {1, 0, 0};
  m.vertexPos[2] = {0, 1, 0};
  for (int32_t t = 0; t < 8; ++t) m.triVerts[t] = t == 3 ? Tri{0, 1, 2} : Tri{1, 1, 2};
  m.triangleCount = 8;
  recomputeNormals(m);
  for (int32_t t = 0; t < 8; ++t) {
    if (t == 3) continue;
    EXPECT_EQ(m.triNormal[t].x, 0.0f);
    EXPECT_EQ(m.triNormal[t].y, 0.0f);
    EXPECT_EQ(m.triNormal[t].z, 0.0f);
  }
  EXPECT_EQ(m.triNormal[3].z, 1.0f);
}

}  // namespace
