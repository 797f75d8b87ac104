// Checks that a model is well formed: counts within the capacities, every triangle and line
// index naming an existing vertex, no removal mark left and every group within 0..99.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "model/model.h"

inline ::testing::AssertionResult modelIsSound(const Model& m) {
  if (m.vertexCount < 0 || m.vertexCount > m.maxv)
    return ::testing::AssertionFailure() << "vertexCount " << m.vertexCount << " of " << m.maxv;
  if (m.triangleCount < 0 || m.triangleCount > m.maxt)
    return ::testing::AssertionFailure() << "triangleCount " << m.triangleCount << " of " << m.maxt;
  if (m.lineCount < 0 || m.lineCount > m.maxl)
    return ::testing::AssertionFailure() << "lineCount " << m.lineCount << " of " << m.maxl;
  const auto bad = [&](int32_t v) { return v < 0 || v >= m.vertexCount; };
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    const Tri tri = m.triVerts[t];
    if (bad(tri.a) || bad(tri.b) || bad(tri.c))
      return ::testing::AssertionFailure()
             << "triangle " << t << " (" << tri.a << ", " << tri.b << ", " << tri.c << ") with "
             << m.vertexCount << " vertices";
    if (m.triFlags[t] == kRemoveMark)
      return ::testing::AssertionFailure() << "triangle " << t << " still marked for removal";
    if ((m.triFlags[t] & kGroupMask) > 99)
      return ::testing::AssertionFailure()
             << "triangle " << t << " in group " << (m.triFlags[t] & kGroupMask);
  }
  for (int32_t l = 0; l < m.lineCount; ++l) {
    const Line line = m.lineVerts[l];
    if (bad(line.a) || bad(line.b))
      return ::testing::AssertionFailure() << "line " << l << " (" << line.a << ", " << line.b
                                           << ") with " << m.vertexCount << " vertices";
  }
  return ::testing::AssertionSuccess();
}

// A model with the given capacities, empty.
inline Model makeTestModel(int32_t maxv = 1000, int32_t maxt = 1000, int32_t maxl = 100) {
  Model m;
  EXPECT_EQ(allocateModel(m, maxv, maxt, maxl), "");
  return m;
}

// Appends a vertex / triangle directly (test set-up only).
inline int32_t pushVertex(Model& m, float x, float y, float z) {
  m.vertexPos[m.vertexCount] = Vec3{x, y, z};
  return m.vertexCount++;
}
inline int32_t pushTriangle(Model& m, int32_t a, int32_t b, int32_t c, uint8_t flags = 0,
                            uint16_t color = 0) {
  m.triVerts[m.triangleCount] = Tri{a, b, c};
  m.triFlags[m.triangleCount] = flags;
  m.triColor[m.triangleCount] = color;
  return m.triangleCount++;
}
