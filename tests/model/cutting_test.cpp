#include "model/cutting.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "model/create.h"
#include "model/selection.h"
#include "support/model_invariants.h"
#include "torus_mesh.h"
#include "ui/field_values.h"

namespace {

struct Cutting : ::testing::Test {
  Model m = makeTestModel(1000, 1000, 10);
  Fields f;
  void SetUp() override { setFieldDefaults(f); }
  EditResult slice(int axis, float at) {
    f.floatFields[kX1 + axis] = at;
    return sliceModel(m, axis, slicePlaneOf(f, axis));
  }
  Vec3 pos(int32_t v) const { return m.vertexPos[v]; }
  bool selected(int32_t t) const { return (m.triFlags[t] & kSelectedBit) != 0; }
};

Vec3 normalOf(const Vec3& a, const Vec3& b, const Vec3& c) {
  const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
  const float vx = c.x - b.x, vy = c.y - b.y, vz = c.z - b.z;
  return Vec3{uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx};
}

bool same(const Vec3& p, const Vec3& q) {
  return p.x == q.x && p.y == q.y && p.z == q.z;
}

TEST_F(Cutting, APlaneNothingStraddlesOnlySetsTheSelection) {
  const int32_t a = addVertex(m, 0, 0, 2), b = addVertex(m, 1, 0, 2), c = addVertex(m, 0, 1, 2.2f);
  const int32_t d = addVertex(m, 0, 0, 1), e = addVertex(m, 1, 0, 1), g = addVertex(m, 0, 1, 0);
  addTriangle(m, a, b, c, 3);         // at or above z = 2
  addTriangle(m, d, e, g, 0x80 | 4);  // below
  // Z1 = 2.5 cuts at z = 2 (halves to even): the first triangle is upper.
  EditResult r = slice(kAxisZ, 2.5f);
  EXPECT_EQ(r.request, Request::Normals);
  EXPECT_EQ(r.message, kMsgNone);
  EXPECT_EQ(m.triFlags[0], 0x80 | 3);
  EXPECT_EQ(m.triFlags[1], 4);
  EXPECT_EQ(m.vertexCount, 6);
  EXPECT_EQ(m.triangleCount, 2);
  // Z1 = 3.5 cuts at z = 4: nothing is upper.
  slice(kAxisZ, 3.5f);
  EXPECT_FALSE(selected(0));
  EXPECT_FALSE(selected(1));
  // The other two axes: x = 0 holds both triangles' lowest x, y = 1 only their tips.
  slice(kAxisX, 0.0f);
  EXPECT_TRUE(selected(0));
  EXPECT_TRUE(selected(1));
  EXPECT_EQ(m.vertexCount, 6);
  slice(kAxisY, -0.4f);
  EXPECT_TRUE(selected(0));
  EXPECT_EQ(m.vertexCount, 6);
  EXPECT_TRUE(modelIsSound(m));
}

TEST_F(Cutting, ACornerOnThePlaneBetweenTheOtherTwoGivesTwoPieces) {
  const int32_t a = addVertex(m, 0, 0, 0), b = addVertex(m, 2, 0, -2), c = addVertex(m, 2, 2, 2);
  addTriangle(m, a, b, c, 6, 0x1111);
  const Vec3 before = normalOf(pos(a), pos(b), pos(c));
  slice(kAxisZ, 0.0f);
  ASSERT_EQ(m.triangleCount, 2);
  EXPECT_EQ(m.vertexCount, 7);
  int upper = 0;
  for (int32_t t = 0; t < 2; ++t) {
    const Tri tri = m.triVerts[t];
    const Vec3 n = normalOf(pos(tri.a), pos(tri.b), pos(tri.c));
    EXPECT_GT(n.x * before.x + n.y * before.y + n.z * before.z, 0.0f) << "winding kept";
    EXPECT_EQ(m.triColor[t], 0x1111);
    for (const int32_t v : {tri.a, tri.b, tri.c}) {
      if (selected(t))
        EXPECT_GE(pos(v).z, 0.0f);
      else
        EXPECT_LE(pos(v).z, 0.0f);
    }
    upper += selected(t);
  }
  EXPECT_EQ(upper, 1);
  EXPECT_EQ(m.triFlags[0], 0x80 | 6);  // the rewritten triangle keeps its group
  EXPECT_EQ(m.triFlags[1], 0);         // the appended piece is in group 0
  // The two sides share no vertex: moving one cannot drag the other.
  const Tri p = m.triVerts[0], q = m.triVerts[1];
  for (const int32_t v : {p.a, p.b, p.c}) EXPECT_TRUE(v != q.a && v != q.b && v != q.c);
  // The divide runs from the on-plane corner to the middle of the opposite edge.
  bool found = false;
  for (int32_t v = 3; v < 7; ++v) found |= same(pos(v), Vec3{2, 1, 0});
  EXPECT_TRUE(found);
  EXPECT_TRUE(modelIsSound(m));
}

TEST_F(Cutting, OneCornerOnThePlaneAndTwoBelowKeepsTheTriangleWhole) {
  // Coordinates for which c + (a - c) is not exactly a in single precision.
  const int32_t a = addVertex(m, 949.857117f, 0, 0);
  const int32_t b = addVertex(m, 0, 0, -1);
  const int32_t c = addVertex(m, -659.923096f, 1, -1);
  addTriangle(m, a, b, c, 0x80 | 5, 0x0042);
  slice(kAxisZ, 0.0f);
  ASSERT_EQ(m.triangleCount, 1);
  EXPECT_EQ(m.vertexCount, 7);
  const Tri t = m.triVerts[0];
  EXPECT_NE(t.a, a);
  EXPECT_TRUE(same(pos(t.a), pos(a)));
  EXPECT_EQ(t.b, b);
  EXPECT_EQ(t.c, c);
  EXPECT_EQ(m.triFlags[0], 5);  // unselected, group kept
  EXPECT_EQ(m.triColor[0], 0x0042);
  EXPECT_TRUE(modelIsSound(m));
}

TEST_F(Cutting, TwoCornersOnThePlaneLeaveOnePieceOfTheSameShape) {
  const int32_t a = addVertex(m, 0, 0, 3), b = addVertex(m, 4, 0, 3), c = addVertex(m, 0, 4, -1);
  addTriangle(m, a, b, c, 0x80 | 9);
  const Vec3 before = normalOf(pos(a), pos(b), pos(c));
  slice(kAxisZ, 3.0f);
  ASSERT_EQ(m.triangleCount, 1);
  const Tri t = m.triVerts[0];
  const Vec3 after = normalOf(pos(t.a), pos(t.b), pos(t.c));
  EXPECT_EQ(after.x, before.x);
  EXPECT_EQ(after.y, before.y);
  EXPECT_EQ(after.z, before.z);
  EXPECT_FALSE(selected(0));
  EXPECT_TRUE(modelIsSound(m));
}

TEST_F(Cutting, ABoxCutThroughItsMiddleOpensAGapWhenTheTopMoves) {
  f.floatFields[kSize] = 2.0f;
  ASSERT_EQ(createShape(m, Shape::Cube, shapeSizesOf(f), 0, 0).request, Request::Normals);
  slice(kAxisZ, 1.0f);
  EXPECT_TRUE(modelIsSound(m));
  EXPECT_EQ(m.triangleCount, 2 + 2 + 8 * 3);  // caps whole, every side split in three
  // Move the selected vertices up by 10.
  ASSERT_GT(markSelectedVertices(m), 0);
  for (int32_t v = 0; v < m.vertexCount; ++v)
    if (m.vertexMark[v] != 0) m.vertexPos[v].z += 10.0f;
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    const Tri tri = m.triVerts[t];
    float lo = 1e9f, hi = -1e9f;
    for (const int32_t v : {tri.a, tri.b, tri.c}) {
      lo = std::fmin(lo, pos(v).z);
      hi = std::fmax(hi, pos(v).z);
    }
    if (selected(t))
      EXPECT_GE(lo, 11.0f) << t;
    else
      EXPECT_LE(hi, 1.0f) << t;
  }
}

TEST_F(Cutting, RunningOutOfRoomLeavesLaterStraddlersWhole) {
  Model small = makeTestModel(9 + 4 + 3, 100, 1);
  std::swap(m, small);
  for (int k = 0; k < 3; ++k) {
    const int32_t a = addVertex(m, 0, 0, -1), b = addVertex(m, 1, 0, 1), c = addVertex(m, 0, 1, 1);
    addTriangle(m, a, b, c, k == 1 ? 0x80 : 0);
  }
  addTriangle(m, 1, 2, 4, 0);  // wholly above
  const EditResult r = slice(kAxisZ, 0.0f);
  EXPECT_EQ(r.message, kMsgTooManyVerteces);
  EXPECT_EQ(m.vertexCount, 13);
  EXPECT_EQ(m.triangleCount, 6);
  EXPECT_TRUE(selected(0));   // split: the rewritten piece (b side) is upper
  EXPECT_TRUE(selected(1));   // whole, kept its bit
  EXPECT_FALSE(selected(2));  // whole, kept its bit
  EXPECT_TRUE(selected(3));   // not straddling: gets its side
  EXPECT_TRUE(modelIsSound(m));

  // The same with the triangle table running out.
  Model tight = makeTestModel(100, 4 + 2 + 2, 1);
  std::swap(m, tight);
  for (int k = 0; k < 3; ++k) {
    const int32_t a = addVertex(m, 0, 0, -1), b = addVertex(m, 1, 0, 1), c = addVertex(m, 0, 1, 1);
    addTriangle(m, a, b, c, 0x80);
  }
  addTriangle(m, 0, 1, 2, 0x80);
  EXPECT_EQ(slice(kAxisZ, 0.0f).message, kMsgTooManyTriangles);
  EXPECT_EQ(m.triangleCount, 6);
  EXPECT_EQ(m.vertexCount, 13);
  EXPECT_TRUE(modelIsSound(m));
}

// Edges whose two end positions (not indices) are found in only one triangle of the chosen
// triangles (all, or one side's), as their ends.
using Edge = std::array<Vec3, 2>;
std::vector<Edge> openEdges(const Model& m, int side) {
  const auto key = [](const Vec3& p) {
    return std::array<uint32_t, 3>{std::bit_cast<uint32_t>(p.x), std::bit_cast<uint32_t>(p.y),
                                   std::bit_cast<uint32_t>(p.z)};
  };
  std::map<std::array<std::array<uint32_t, 3>, 2>, std::pair<int, Edge>> uses;
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    const int upper = (m.triFlags[t] & kSelectedBit) != 0 ? 1 : 0;
    if (side >= 0 && upper != side) continue;
    const Tri tri = m.triVerts[t];
    const int32_t corners[3] = {tri.a, tri.b, tri.c};
    for (int k = 0; k < 3; ++k) {
      const Vec3 p = m.vertexPos[corners[k]], q = m.vertexPos[corners[(k + 1) % 3]];
      auto ends = std::array{key(p), key(q)};
      if (ends[1] < ends[0]) std::swap(ends[0], ends[1]);
      auto& use = uses[ends];
      ++use.first;
      use.second = {p, q};
    }
  }
  std::vector<Edge> open;
  for (const auto& [ends, use] : uses)
    if (use.first % 2 != 0) open.push_back(use.second);
  return open;
}

// A closed torus cut anywhere stays closed as a whole (the pieces meet bit for bit), and
// each side's only open edges are its rim on the cutting plane.
TEST(CuttingClosedMesh, LeavesOpenEdgesOnlyOnThePlane) {
  struct Case {
    int32_t rings, sides;
    int axis;
    float at;
  };
  const Case cases[] = {{448, 224, kAxisZ, 7.0f},  // the 200k-triangle torus of the bench
                        {96, 40, kAxisZ, 7.0f},   {96, 40, kAxisZ, -20.0f},
                        {96, 40, kAxisX, 3.0f},   {96, 40, kAxisY, -101.0f},
                        {75, 33, kAxisX, 90.0f},  {75, 33, kAxisY, 0.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.rings << "x" << c.sides << " axis " << c.axis << " at " << c.at);
    const int32_t tris = 2 * c.rings * c.sides;
    Model m = makeTestModel(tris * 2, tris * 2, 4);
    ASSERT_TRUE(buildTorus(m, TorusShape{c.rings, c.sides, 90.0f, 35.0f}));
    Fields f;
    setFieldDefaults(f);
    f.floatFields[kX1 + c.axis] = c.at;
    ASSERT_EQ(sliceModel(m, c.axis, slicePlaneOf(f, c.axis)).message, kMsgNone);
    ASSERT_GT(m.triangleCount, tris);
    EXPECT_TRUE(modelIsSound(m));
    EXPECT_EQ(openEdges(m, -1).size(), 0u);
    for (const int side : {0, 1}) {
      const std::vector<Edge> open = openEdges(m, side);
      EXPECT_GT(open.size(), 0u) << "side " << side;
      size_t offPlane = 0;
      for (const Edge& e : open)
        for (const Vec3& p : e) {
          const float k = c.axis == kAxisX ? p.x : c.axis == kAxisY ? p.y : p.z;
          offPlane += std::fabs(k - c.at) > 1e-4f;
        }
      EXPECT_EQ(offPlane, 0u) << "side " << side;
    }
  }
}

struct Drilling : ::testing::Test {
  Model m = makeTestModel(100, 100, 1);
  Fields f;
  Camera cam;
  void SetUp() override {
    setFieldDefaults(f);
    cam.viewCenterX = 400;
    cam.viewCenterY = 300;
    f.floatFields[kDrawDepth] = 100.0f;
    // Drill centre (10, 20) relative to the view centre.
    f.displayValues[kFieldScreenX] = 410;
    f.displayValues[kFieldScreenY] = 320;
  }
  // A triangle around (x, y) relative to the view centre, corners at the given depths.
  int32_t triangleAt(float x, float y, float d0, float d1, float d2) {
    const int32_t n = m.vertexCount;
    const float depth[3] = {d0, d1, d2};
    const float off[3][2] = {{-1, -1}, {1, -1}, {0, 1}};
    for (int k = 0; k < 3; ++k) {
      addVertex(m, 0, 0, 0);
      m.vertexProj[n + k] = Vec3{x + off[k][0], y + off[k][1], depth[k]};
    }
    return addTriangle(m, n, n + 1, n + 2, static_cast<uint8_t>(m.triangleCount));
  }
  EditResult drill(float radius) {
    f.floatFields[kRadius] = radius;
    return drillModel(m, drillCircleOf(f, cam));
  }
};

TEST_F(Drilling, RadiusZeroRemovesNothing) {
  triangleAt(10, 20, 5, 5, 5);
  const EditResult r = drill(0.0f);
  EXPECT_EQ(r.request, Request::Normals);
  EXPECT_EQ(m.triangleCount, 1);
}

TEST_F(Drilling, AHugeRadiusRemovesWhatIsInFrontAndNotTooFar) {
  triangleAt(10, 20, 5, 5, 5);            // 0: removed
  triangleAt(-300, 250, 5, 0.5f, 5);      // 1: a corner behind the camera
  triangleAt(0, 0, 150, 150, 5);          // 2: two corners beyond drawdepth
  triangleAt(-300, 250, 150, 5, 5);       // 3: one corner beyond: removed
  triangleAt(500, -900, 1.0f, 100, 100);  // 4: at the limits: removed
  drill(1.0e6f);
  ASSERT_EQ(m.triangleCount, 2);
  EXPECT_EQ(m.triFlags[0], 1);
  EXPECT_EQ(m.triFlags[1], 2);
  EXPECT_EQ(m.vertexCount, 15);  // vertices stay
  EXPECT_TRUE(modelIsSound(m));
}

TEST_F(Drilling, OnlyTrianglesWhollyInsideTheCircleGo) {
  triangleAt(10, 20, 5, 5, 5);  // corners at squared distances 2, 2, 1 from the centre
  triangleAt(13, 20, 5, 5, 5);  // squared distances 5, 17, 10: partly outside radius 4
  const int32_t edge = triangleAt(10, 20, 5, 5, 5);
  m.vertexProj[m.triVerts[edge].b] = Vec3{13, 24, 5};  // exactly on a circle of radius 5
  drill(4.0f);
  ASSERT_EQ(m.triangleCount, 2);
  EXPECT_EQ(m.triFlags[0], 1);
  EXPECT_EQ(m.triFlags[1], 2);
  drill(5.0f);  // the corner on the circle is not inside
  ASSERT_EQ(m.triangleCount, 1);
  EXPECT_EQ(m.triFlags[0], 2);
  drill(5.01f);
  EXPECT_EQ(m.triangleCount, 0);
}

}  // namespace
