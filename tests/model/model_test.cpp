#include "model/model.h"

#include <gtest/gtest.h>

namespace {

Model makeModel(int32_t maxv = 100, int32_t maxt = 100, int32_t maxl = 10) {
  Model m;
  EXPECT_EQ(allocateModel(m, maxv, maxt, maxl), "");
  return m;
}

TEST(ModelStore, ArraysHaveOneRowMoreThanTheCapacities) {
  const Model m = makeModel(5, 7, 3);
  EXPECT_EQ(m.vertexPos.size(), 6u);
  EXPECT_EQ(m.vertexProj.size(), 6u);
  EXPECT_EQ(m.triVerts.size(), 8u);
  EXPECT_EQ(m.triFlags.size(), 8u);
  EXPECT_EQ(m.triColor.size(), 8u);
  EXPECT_EQ(m.lineVerts.size(), 4u);
  EXPECT_EQ(partName(m, 0), "default     ");
  EXPECT_EQ(m.partNames[0][12], 0);
  EXPECT_EQ(partName(m, 1), std::string(12, ' '));
}

TEST(ModelStore, SizesAreComputedIn64Bits) {
  EXPECT_EQ(modelBytesFor(2000000000, 0, 0), 2000000001ull * 32 + 27 + 8);
  Model m;
  EXPECT_NE(allocateModel(m, 0, 10, 10), "");
  EXPECT_TRUE(m.vertexPos.empty());
}

TEST(ModelStore, DefaultModelIsThePyramidWithItsSquareOfLines) {
  Model m = makeModel();
  ASSERT_TRUE(putDefaultModel(m));
  EXPECT_EQ(m.vertexCount, 9);
  EXPECT_EQ(m.triangleCount, 6);
  EXPECT_EQ(m.lineCount, 4);
  EXPECT_EQ(m.vertexPos[4].z, 20.0f);
  EXPECT_EQ(m.vertexPos[5].x, -20.0f);
  EXPECT_EQ(m.vertexPos[8].y, 20.0f);
  EXPECT_EQ(m.triVerts[0].a, 0);
  EXPECT_EQ(m.triVerts[0].b, 3);
  EXPECT_EQ(m.triVerts[0].c, 2);
  EXPECT_EQ(m.triVerts[5].a, 3);
  EXPECT_EQ(m.lineVerts[3].a, 8);
  EXPECT_EQ(m.lineVerts[3].b, 5);
  for (int t = 0; t < 6; ++t) {
    EXPECT_EQ(m.triFlags[t], 0);
    EXPECT_EQ(m.triColor[t], 0);
  }
}

TEST(ModelStore, TooSmallCapacitiesGiveAnEmptyModel) {
  Model m = makeModel(8, 100, 10);
  EXPECT_FALSE(putDefaultModel(m));
  EXPECT_EQ(m.vertexCount, 0);
  EXPECT_EQ(m.triangleCount, 0);
  EXPECT_EQ(m.lineCount, 0);
}

TEST(ModelNormals, BaseFacesDownAndPyramidSidesFaceOutwards) {
  Model m = makeModel();
  putDefaultModel(m);
  recomputeNormals(m);
  EXPECT_FLOAT_EQ(m.triNormal[0].x, 0.0f);
  EXPECT_FLOAT_EQ(m.triNormal[0].y, 0.0f);
  EXPECT_FLOAT_EQ(m.triNormal[0].z, -1.0f);
  EXPECT_FLOAT_EQ(m.triNormal[1].z, -1.0f);
  // (0, 1, 4): the side at y = -10 faces -y and up.
  EXPECT_LT(m.triNormal[2].y, 0.0f);
  EXPECT_GT(m.triNormal[2].z, 0.0f);
  const Vec3 n = m.triNormal[3];
  EXPECT_NEAR(n.x * n.x + n.y * n.y + n.z * n.z, 1.0f, 1e-6f);
}

TEST(ModelNormals, DegenerateTriangleGetsTheZeroNormal) {
  Model m = makeModel();
  m.vertexPos[0] = {1, 2, 3};
  m.vertexPos[1] = {4, 5, 6};
  m.triVerts[0] = {0, 0, 1};
  m.vertexCount = 2;
  m.triangleCount = 1;
  m.triNormal[0] = {9, 9, 9};
  recomputeNormals(m);
  EXPECT_EQ(m.triNormal[0].x, 0.0f);
  EXPECT_EQ(m.triNormal[0].y, 0.0f);
  EXPECT_EQ(m.triNormal[0].z, 0.0f);
}

TEST(ModelStore, ClearFlagsAndNamesAndColourWords) {
  Model m = makeModel(10, 4, 2);
  std::fill(m.triFlags.begin(), m.triFlags.end(), 0x85);
  clearTriangleFlags(m);
  for (auto f : m.triFlags) EXPECT_EQ(f, 0);
  setPartName(m, 7, "a very long part name");
  EXPECT_EQ(partName(m, 7), "a very long ");
  EXPECT_EQ(m.partNames[7][12], 0);
  setPartName(m, 7, "hub");
  EXPECT_EQ(partName(m, 7), "hub         ");
  EXPECT_EQ(colorWord(31, 0, 0), 0x7C00);
  EXPECT_EQ(colorWord(32, 0, 0), 0);
  EXPECT_EQ(colorWord(0, 31, 0), 0x03E0);
  EXPECT_EQ(colorWord(33, 1, 31), (1 << 10) + (1 << 5) + 31);
}

}  // namespace
