// Checks that a model is well formed: counts within the capacities, every triangle and line
// index naming an existing vertex, no removal mark left and every group within 0..99.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "model/model.h"
#include "model/model_check.h"

inline ::testing::AssertionResult modelIsSound(const Model& m) {
  const std::string fault = checkModel(m);
  if (fault.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << fault;
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
