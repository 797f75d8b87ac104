#include "model/create.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include "support/model_invariants.h"
#include "ui/field_values.h"

namespace {

struct CreateFixture : ::testing::Test {
  Model m = makeTestModel();
  Fields f;
  void SetUp() override {
    setFieldDefaults(f);
    ASSERT_TRUE(putDefaultModel(m));  // a non-zero base index catches offset mistakes
  }
  void setPoint(int k, float x, float y, float z) {
    f.floatFields[3 * (k - 1)] = x;
    f.floatFields[3 * (k - 1) + 1] = y;
    f.floatFields[3 * (k - 1) + 2] = z;
  }
  EditResult create(Shape shape, uint8_t flags = 0, uint16_t color = 0) {
    return createShape(m, shape, shapeSizesOf(f), flags, color);
  }
  Tri tri(int32_t t) const { return m.triVerts[t]; }
};

bool sameTri(const Tri& t, int32_t a, int32_t b, int32_t c) {
  return t.a == a && t.b == b && t.c == c;
}

Vec3 centroid(const Model& m, int32_t t) {
  const Tri tri = m.triVerts[t];
  const Vec3 a = m.vertexPos[tri.a], b = m.vertexPos[tri.b], c = m.vertexPos[tri.c];
  return Vec3{(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
}

using Creating = CreateFixture;

TEST_F(Creating, CubeStandsOnZ1WithEightCornersAndTwelveOutwardFaces) {
  f.floatFields[kSize] = 2.0f;
  const int32_t n = m.vertexCount, t0 = m.triangleCount;
  const EditResult r = create(Shape::Cube);
  EXPECT_EQ(r.request, Request::Normals);
  EXPECT_EQ(r.message, kMsgNone);
  ASSERT_EQ(m.vertexCount, n + 8);
  ASSERT_EQ(m.triangleCount, t0 + 12);
  std::set<std::tuple<float, float, float>> corners;
  for (int32_t v = n; v < n + 8; ++v)
    corners.insert({m.vertexPos[v].x, m.vertexPos[v].y, m.vertexPos[v].z});
  std::set<std::tuple<float, float, float>> expected;
  for (float x : {-1.0f, 1.0f})
    for (float y : {-1.0f, 1.0f})
      for (float z : {0.0f, 2.0f}) expected.insert({x, y, z});
  EXPECT_EQ(corners, expected);
  // Bottom first (A..D at z = 0), then the top above it.
  EXPECT_EQ(m.vertexPos[n].x, -1.0f);
  EXPECT_EQ(m.vertexPos[n].y, -1.0f);
  EXPECT_EQ(m.vertexPos[n + 4].z, 2.0f);
  EXPECT_TRUE(sameTri(tri(t0), n, n + 3, n + 2));
  EXPECT_TRUE(sameTri(tri(t0 + 2), n + 4, n + 5, n + 6));
  EXPECT_TRUE(sameTri(tri(t0 + 11), n + 2, n + 7, n + 6));
  recomputeNormals(m);
  for (int32_t t = t0; t < m.triangleCount; ++t) {
    const Vec3 c = centroid(m, t);
    const Vec3 nn = m.triNormal[t];
    const float out = nn.x * c.x + nn.y * c.y + nn.z * (c.z - 1.0f);
    EXPECT_GT(out, 0.3f) << "triangle " << t - t0 << " faces inwards";
  }
  EXPECT_TRUE(modelIsSound(m));
}

TEST_F(Creating, DiscRunsClockwiseFromPlusXAndFacesDown) {
  f.floatFields[kRadius] = 1.0f;
  f.displayValues[kFieldSides] = 4;
  const int32_t n = m.vertexCount, t0 = m.triangleCount;
  ASSERT_EQ(create(Shape::Disc).request, Request::Normals);
  ASSERT_EQ(m.vertexCount, n + 5);
  ASSERT_EQ(m.triangleCount, t0 + 4);
  const float rim[4][2] = {{1, 0}, {0, -1}, {-1, 0}, {0, 1}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_NEAR(m.vertexPos[n + 1 + k].x, rim[k][0], 1e-6) << k;
    EXPECT_NEAR(m.vertexPos[n + 1 + k].y, rim[k][1], 1e-6) << k;
    EXPECT_EQ(m.vertexPos[n + 1 + k].z, 0.0f);
  }
  EXPECT_EQ(m.vertexPos[n + 1].x, 1.0f);
  EXPECT_TRUE(sameTri(tri(t0), n, n + 1, n + 2));
  EXPECT_TRUE(sameTri(tri(t0 + 1), n, n + 2, n + 3));
  EXPECT_TRUE(sameTri(tri(t0 + 2), n, n + 3, n + 4));
  EXPECT_TRUE(sameTri(tri(t0 + 3), n, n + 4, n + 1));
  recomputeNormals(m);
  for (int32_t t = t0; t < m.triangleCount; ++t) EXPECT_FLOAT_EQ(m.triNormal[t].z, -1.0f);
  EXPECT_TRUE(modelIsSound(m));
}

TEST_F(Creating, CylinderOfThreeSidesIsAnInwardTube) {
  f.floatFields[kRadius] = 5.0f;
  f.displayValues[kFieldSides] = 3;
  setPoint(1, 1.0f, 2.0f, 3.0f);
  const int32_t n = m.vertexCount, t0 = m.triangleCount;
  ASSERT_EQ(create(Shape::Cylinder).request, Request::Normals);
  ASSERT_EQ(m.vertexCount, n + 6);
  ASSERT_EQ(m.triangleCount, t0 + 6);
  EXPECT_TRUE(sameTri(tri(t0), n + 3, n + 1, n));
  EXPECT_TRUE(sameTri(tri(t0 + 1), n, n + 2, n + 3));
  EXPECT_TRUE(sameTri(tri(t0 + 4), n + 1, n + 5, n + 4));
  EXPECT_TRUE(sameTri(tri(t0 + 5), n + 4, n, n + 1));
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(m.vertexPos[n + 2 * k].z, 3.0f);
    EXPECT_EQ(m.vertexPos[n + 2 * k + 1].z, 13.0f);
    EXPECT_EQ(m.vertexPos[n + 2 * k].x, m.vertexPos[n + 2 * k + 1].x);
  }
  EXPECT_EQ(m.vertexPos[n].x, 6.0f);
  recomputeNormals(m);
  for (int32_t t = t0; t < m.triangleCount; ++t) {
    const Vec3 c = centroid(m, t);
    const Vec3 nn = m.triNormal[t];
    EXPECT_LT(nn.x * (c.x - 1.0f) + nn.y * (c.y - 2.0f), 0.0f) << t - t0;
  }
  EXPECT_TRUE(modelIsSound(m));
}

TEST_F(Creating, ConeApexStandsHeightAboveZ1AndZ1IsRestored) {
  f.displayValues[kFieldSides] = 6;
  f.floatFields[kHeight] = 7.0f;
  setPoint(1, 0.0f, 0.0f, 2.5f);
  const int32_t n = m.vertexCount, t0 = m.triangleCount;
  ASSERT_EQ(create(Shape::Cone).request, Request::Normals);
  EXPECT_EQ(m.vertexCount, n + 7);
  EXPECT_EQ(m.triangleCount, t0 + 6);
  EXPECT_EQ(m.vertexPos[n].z, 9.5f);
  EXPECT_EQ(f.floatFields[kZ1], 2.5f);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(m.vertexPos[n + k].z, 2.5f);
  EXPECT_TRUE(sameTri(tri(t0 + 5), n, n + 6, n + 1));
  recomputeNormals(m);
  for (int32_t t = t0; t < m.triangleCount; ++t) {
    const Vec3 c = centroid(m, t);
    const Vec3 nn = m.triNormal[t];
    EXPECT_LT(nn.x * c.x + nn.y * c.y, 0.0f) << t - t0;  // inwards
  }
  EXPECT_TRUE(modelIsSound(m));
}

TEST_F(Creating, PointsLinesTrianglesAndQuadsComeFromThePointFields) {
  setPoint(1, 1, 2, 3);
  setPoint(2, 4, 5, 6);
  setPoint(3, 7, 8, 9);
  setPoint(4, 10, 11, 12);
  const int32_t n = m.vertexCount, t0 = m.triangleCount, l0 = m.lineCount;
  EXPECT_EQ(create(Shape::Vertex).request, Request::Render);
  EXPECT_EQ(create(Shape::Vertex).request, Request::Render);
  EXPECT_EQ(m.vertexCount, n + 2);
  EXPECT_EQ(m.vertexPos[n].x, m.vertexPos[n + 1].x);
  EXPECT_EQ(m.vertexPos[n + 1].z, 3.0f);
  EXPECT_EQ(m.triangleCount, t0);

  EXPECT_EQ(create(Shape::Line).request, Request::Render);
  ASSERT_EQ(m.lineCount, l0 + 1);
  EXPECT_EQ(m.lineVerts[l0].a, n + 2);
  EXPECT_EQ(m.lineVerts[l0].b, n + 3);
  EXPECT_EQ(m.vertexPos[n + 3].y, 5.0f);

  EXPECT_EQ(create(Shape::Quad).request, Request::Normals);
  ASSERT_EQ(m.triangleCount, t0 + 2);
  EXPECT_TRUE(sameTri(tri(t0), n + 4, n + 5, n + 6));
  EXPECT_TRUE(sameTri(tri(t0 + 1), n + 6, n + 7, n + 4));
  EXPECT_EQ(m.vertexPos[n + 7].z, 12.0f);
  EXPECT_TRUE(modelIsSound(m));
}

TEST_F(Creating, ShapesThatDoNotFitAreRefusedWhole) {
  Model small = makeTestModel(20, 14, 1);
  Fields& ff = f;
  ff.floatFields[kSize] = 1.0f;
  // 8 + 8 vertices fit in 20, 12 + 12 triangles do not fit in 14.
  ASSERT_EQ(createShape(small, Shape::Cube, shapeSizesOf(ff), 0, 0).request, Request::Normals);
  EditResult r = createShape(small, Shape::Cube, shapeSizesOf(ff), 0, 0);
  EXPECT_EQ(r.message, kMsgTooManyTriangles);
  EXPECT_EQ(r.request, Request::None);
  EXPECT_EQ(small.vertexCount, 8);
  EXPECT_EQ(small.triangleCount, 12);
  // A disc of 18 sides needs 19 vertices: 8 + 19 > 20.
  r = createShape(small, Shape::Disc, shapeSizesOf(ff), 0, 0);
  EXPECT_EQ(r.message, kMsgTooManyVerteces);
  EXPECT_EQ(small.vertexCount, 8);
  // One line fits, the second does not.
  ASSERT_EQ(createShape(small, Shape::Line, shapeSizesOf(ff), 0, 0).request, Request::Render);
  r = createShape(small, Shape::Line, shapeSizesOf(ff), 0, 0);
  EXPECT_EQ(r.message, kMsgTooManyLines);
  EXPECT_EQ(small.lineCount, 1);
  EXPECT_EQ(small.vertexCount, 10);
  // Exactly full is allowed: two triangles fill the table.
  ASSERT_EQ(createShape(small, Shape::Quad, shapeSizesOf(ff), 0, 0).request, Request::Normals);
  EXPECT_EQ(small.triangleCount, 14);
  EXPECT_EQ(small.vertexCount, 14);
  EXPECT_EQ(createShape(small, Shape::Triangle, shapeSizesOf(ff), 0, 0).message,
            kMsgTooManyTriangles);
  EXPECT_TRUE(modelIsSound(small));
}

TEST_F(Creating, HugeAndNonPositiveSideCountsAppendNothing) {
  const int32_t n = m.vertexCount, t0 = m.triangleCount;
  for (Shape menu : {Shape::Disc, Shape::Cylinder, Shape::Cone}) {
    for (int32_t sides : {0, -1, -2147483647 - 1}) {
      f.displayValues[kFieldSides] = sides;
      const EditResult r = create(menu);
      EXPECT_EQ(r.request, Request::None) << int(menu) << " " << sides;
      EXPECT_EQ(m.vertexCount, n);
      EXPECT_EQ(m.triangleCount, t0);
    }
    // 2 * sides would wrap in 32 bits.
    f.displayValues[kFieldSides] = 2147483647;
    EXPECT_EQ(create(menu).message, kMsgTooManyVerteces) << int(menu);
    EXPECT_EQ(m.vertexCount, n);
  }
  // One side still makes a valid (degenerate) shape.
  f.displayValues[kFieldSides] = 1;
  create(Shape::Cylinder);
  create(Shape::Disc);
  EXPECT_EQ(m.vertexCount, n + 4);
  EXPECT_EQ(m.triangleCount, t0 + 3);
  EXPECT_TRUE(modelIsSound(m));
}

}  // namespace
