#include "model/transforms.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/selection.h"
#include "support/small_models.h"

namespace {

constexpr uint8_t kSel = kSelectedBit;

Selection centreOf(const Model& m) {
  Selection s;
  computeSelectionCenter(m, s);
  return s;
}

void expectBox(const Model& m, Vec3 lo, Vec3 hi) {
  Vec3 a{1e9f, 1e9f, 1e9f}, b{-1e9f, -1e9f, -1e9f};
  for (int32_t v = 0; v < m.vertexCount; ++v) {
    const Vec3 p = m.vertexPos[v];
    a = Vec3{std::min(a.x, p.x), std::min(a.y, p.y), std::min(a.z, p.z)};
    b = Vec3{std::max(b.x, p.x), std::max(b.y, p.y), std::max(b.z, p.z)};
  }
  EXPECT_FLOAT_EQ(a.x, lo.x);
  EXPECT_FLOAT_EQ(a.y, lo.y);
  EXPECT_FLOAT_EQ(a.z, lo.z);
  EXPECT_FLOAT_EQ(b.x, hi.x);
  EXPECT_FLOAT_EQ(b.y, hi.y);
  EXPECT_FLOAT_EQ(b.z, hi.z);
}

// Whether every triangle's normal points away from the centre of the model's vertices.
int outwardFaces(Model& m, int32_t firstTri, int32_t count, Vec3 centre) {
  recomputeNormals(m);
  int outward = 0;
  for (int32_t t = firstTri; t < firstTri + count; ++t) {
    const Tri tri = m.triVerts[t];
    const Vec3 a = m.vertexPos[tri.a], b = m.vertexPos[tri.b], c = m.vertexPos[tri.c];
    const Vec3 mid{(a.x + b.x + c.x) / 3 - centre.x, (a.y + b.y + c.y) / 3 - centre.y,
                   (a.z + b.z + c.z) / 3 - centre.z};
    const Vec3 n = m.triNormal[t];
    outward += n.x * mid.x + n.y * mid.y + n.z * mid.z > 0.0f;
  }
  return outward;
}

TEST(MoveSelection, AbsoluteMoveOfACubeRestingOnTheGround) {
  Model m = makeEmptyModel();
  addCube(m, 5, 5, 0, 2, kSel);
  const EditResult r = moveSelection(m, centreOf(m), Vec3{0, 0, 0}, true);
  EXPECT_EQ(r.request, Request::Render);
  expectBox(m, Vec3{-1, -1, 0}, Vec3{1, 1, 2});
  // The same with Z1 = 3: a resting selection rises by Z1.
  moveSelection(m, centreOf(m), Vec3{0, 0, 3}, true);
  expectBox(m, Vec3{-1, -1, 3}, Vec3{1, 1, 5});
}

TEST(MoveSelection, AbsoluteMoveOfALiftedCubeCentresItInZ) {
  Model m = makeEmptyModel();
  addCube(m, 5, 5, 2, 2, kSel);
  moveSelection(m, centreOf(m), Vec3{0, 0, 0}, true);
  expectBox(m, Vec3{-1, -1, -1}, Vec3{1, 1, 1});
}

TEST(MoveSelection, RelativeMoveMovesASharedVertexOnceAndDragsItsNeighbour) {
  Model m = makeEmptyModel();
  for (int i = 0; i < 5; ++i) addVertex(m, static_cast<float>(i), 0, 0);
  addTriangle(m, 0, 1, 2, kSel);
  addTriangle(m, 2, 1, 3, kSel);
  addTriangle(m, 2, 3, 4, 0);  // unselected, shares 2 and 3
  moveSelection(m, centreOf(m), Vec3{0.5f, 1, -2}, false);
  EXPECT_EQ(m.vertexPos[2].x, 2.5f);
  EXPECT_EQ(m.vertexPos[2].y, 1.0f);
  EXPECT_EQ(m.vertexPos[3].z, -2.0f);
  EXPECT_EQ(m.vertexPos[4].x, 4.0f);
  EXPECT_EQ(m.vertexPos[4].y, 0.0f);
}

TEST(RotateSelection, HalfTurnInTheXYPlane) {
  Model m = makeEmptyModel();
  addVertex(m, 1, 0, 0);
  addVertex(m, 0, 0, 0);
  addVertex(m, 0, 0, 1);
  addVertex(m, 7, 7, 7);
  addTriangle(m, 0, 1, 2, kSel);
  addTriangle(m, 3, 3, 3, 0);
  EXPECT_EQ(rotateSelection(m, Vec3{0, 0, 0}, 3.14159f, 0, 0).request, Request::Normals);
  EXPECT_NEAR(m.vertexPos[0].x, -1.0f, 1e-5);
  EXPECT_NEAR(m.vertexPos[0].y, 0.0f, 1e-5);
  EXPECT_EQ(m.vertexPos[3].x, 7.0f);
}

TEST(RotateSelection, PlanesTurnInTheOrderXYThenXZThenYZAboutTheCentre) {
  const float q = 1.5707964f;
  Model m = makeEmptyModel();
  addVertex(m, 2, 1, 1);  // (1, 0, 0) from the centre (1, 1, 1)
  addTriangle(m, 0, 0, 0, kSel);
  rotateSelection(m, Vec3{1, 1, 1}, q, q, 0);
  EXPECT_NEAR(m.vertexPos[0].x, 1.0f, 1e-5);
  EXPECT_NEAR(m.vertexPos[0].y, 2.0f, 1e-5);
  EXPECT_NEAR(m.vertexPos[0].z, 1.0f, 1e-5);
  m.vertexPos[0] = Vec3{2, 1, 1};
  rotateSelection(m, Vec3{1, 1, 1}, q, 0, q);
  EXPECT_NEAR(m.vertexPos[0].x, 1.0f, 1e-5);
  EXPECT_NEAR(m.vertexPos[0].y, 1.0f, 1e-5);
  EXPECT_NEAR(m.vertexPos[0].z, 0.0f, 1e-5);
}

TEST(ScaleSelection, FactorsPerAxisAboutTheCentreKeepTheCornerOrder) {
  Model m = makeEmptyModel();
  addVertex(m, 2, 3, 4);
  addVertex(m, 1, 1, 1);
  addVertex(m, 0, 0, 0);
  addTriangle(m, 0, 1, 2, kSel);
  EXPECT_EQ(scaleSelection(m, Vec3{1, 1, 1}, Vec3{2, -1, 1}).request, Request::Normals);
  EXPECT_EQ(m.vertexPos[0].x, 3.0f);
  EXPECT_EQ(m.vertexPos[0].y, -1.0f);
  EXPECT_EQ(m.vertexPos[0].z, 4.0f);
  EXPECT_EQ(m.vertexPos[1].x, 1.0f);
  EXPECT_EQ(m.triVerts[0].b, 1);
}

TEST(DuplicateSelection, CopiesStaySelectedAndAFollowingMoveMovesBoth) {
  Model m = makeEmptyModel();
  addTetrahedron(m, 0, 0, 0, kSel | 6);
  addVertex(m, 9, 9, 9);
  addTriangle(m, 4, 4, 0, 2, 0x1234);  // unselected, not copied
  m.triColor[1] = 0x7C00;
  const EditResult r = duplicateSelection(m, centreOf(m), Vec3{0, 0, 0}, false);
  EXPECT_EQ(r.request, Request::Normals);
  ASSERT_EQ(m.vertexCount, 9);
  ASSERT_EQ(m.triangleCount, 9);
  EXPECT_EQ(m.vertexPos[5].x, 0.0f);
  EXPECT_EQ(m.vertexPos[6].x, 1.0f);
  // The copy of triangle 1 (0, 1, 3) uses the copies of its vertices.
  EXPECT_EQ(m.triVerts[6].a, 5);
  EXPECT_EQ(m.triVerts[6].b, 6);
  EXPECT_EQ(m.triVerts[6].c, 8);
  EXPECT_EQ(m.triFlags[6], kSel | 6);
  EXPECT_EQ(m.triColor[6], 0x7C00);
  EXPECT_EQ(m.triFlags[0], kSel | 6);
  moveSelection(m, centreOf(m), Vec3{1, 0, 0}, false);
  for (int v : {0, 1, 2, 3, 5, 6, 7, 8})
    EXPECT_EQ(m.vertexPos[v].x, v == 1 || v == 6 ? 2.0f : 1.0f) << v;
  EXPECT_EQ(m.vertexPos[4].x, 9.0f);
}

TEST(DuplicateSelection, OffsetAndAbsoluteTargetApplyToTheCopiesOnly) {
  Model m = makeEmptyModel();
  addTetrahedron(m, 10, 10, 0, kSel);
  duplicateSelection(m, centreOf(m), Vec3{0, 0, 0}, true);
  EXPECT_EQ(m.vertexPos[0].x, 10.0f);
  EXPECT_EQ(m.vertexPos[4].x, -0.5f);
  EXPECT_EQ(m.vertexPos[4].y, -0.5f);
  EXPECT_EQ(m.vertexPos[4].z, 0.0f);
}

TEST(DuplicateSelection, CopiesThatDoNotFitAreRefusedWhole) {
  {
    Model m = makeEmptyModel(7, 100, 10);
    addTetrahedron(m, 0, 0, 0, kSel);
    const EditResult r = duplicateSelection(m, centreOf(m), Vec3{1, 0, 0}, false);
    EXPECT_EQ(r.message, kMsgTooManyVerteces);
    EXPECT_EQ(m.vertexCount, 4);
    EXPECT_EQ(m.triangleCount, 4);
    EXPECT_EQ(m.vertexPos[4].x, 0.0f);
  }
  {
    Model m = makeEmptyModel(100, 7, 10);
    addTetrahedron(m, 0, 0, 0, kSel);
    const EditResult r = duplicateSelection(m, centreOf(m), Vec3{1, 0, 0}, false);
    EXPECT_EQ(r.message, kMsgTooManyTriangles);
    EXPECT_EQ(m.vertexCount, 4);
    EXPECT_EQ(m.triangleCount, 4);
  }
  {
    Model m = makeEmptyModel(8, 8, 10);  // exactly fits
    addTetrahedron(m, 0, 0, 0, kSel);
    const EditResult r = duplicateSelection(m, centreOf(m), Vec3{1, 0, 0}, false);
    EXPECT_EQ(r.message, kMsgNone);
    EXPECT_EQ(m.vertexCount, 8);
    EXPECT_EQ(m.triangleCount, 8);
  }
}

// Vertices 0, 1 are used by selected triangles only, 2 is shared, 3 and 4 are used by
// unselected triangles, 5 is loose.
Model deletionModel() {
  Model m = makeEmptyModel();
  for (int i = 0; i < 6; ++i) addVertex(m, static_cast<float>(10 * i), 0, 0);
  addTriangle(m, 0, 1, 2, kSel, 1);
  addTriangle(m, 2, 3, 4, 0, 2);
  addTriangle(m, 1, 0, 2, kSel, 3);
  addTriangle(m, 3, 4, 2, 5, 4);
  addLine(m, 0, 3);
  addLine(m, 3, 4);
  addLine(m, 5, 2);
  addLine(m, 4, 1);
  return m;
}

TEST(DeleteSelection, WithoutRemoveVertsOnlyTrianglesGo) {
  Model m = deletionModel();
  const EditResult r = deleteSelection(m, false);
  EXPECT_EQ(r.request, Request::Render);
  EXPECT_EQ(r.message, kMsgDeleted);
  EXPECT_EQ(m.vertexCount, 6);
  EXPECT_EQ(m.lineCount, 4);
  ASSERT_EQ(m.triangleCount, 2);
  EXPECT_EQ(m.triColor[0], 2);
  EXPECT_EQ(m.triColor[1], 4);
  EXPECT_EQ(m.triVerts[1].a, 3);
  EXPECT_EQ(m.triFlags[1], 5);
}

TEST(DeleteSelection, WithRemoveVertsSharedAndLooseVerticesSurviveAndAllIsReindexed) {
  Model m = deletionModel();
  deleteSelection(m, true);
  ASSERT_EQ(m.vertexCount, 4);
  EXPECT_EQ(m.vertexPos[0].x, 20.0f);
  EXPECT_EQ(m.vertexPos[1].x, 30.0f);
  EXPECT_EQ(m.vertexPos[2].x, 40.0f);
  EXPECT_EQ(m.vertexPos[3].x, 50.0f);
  ASSERT_EQ(m.triangleCount, 2);
  EXPECT_EQ(m.triVerts[0].a, 0);
  EXPECT_EQ(m.triVerts[0].b, 1);
  EXPECT_EQ(m.triVerts[0].c, 2);
  EXPECT_EQ(m.triVerts[1].a, 1);
  EXPECT_EQ(m.triVerts[1].b, 2);
  EXPECT_EQ(m.triVerts[1].c, 0);
  EXPECT_EQ(m.triColor[1], 4);
  ASSERT_EQ(m.lineCount, 2);
  EXPECT_EQ(m.lineVerts[0].a, 1);
  EXPECT_EQ(m.lineVerts[0].b, 2);
  EXPECT_EQ(m.lineVerts[1].a, 3);
  EXPECT_EQ(m.lineVerts[1].b, 0);
}

TEST(FlipSelection, FlipThenReverseFacesFacesTheSameWay) {
  Model m = makeEmptyModel();
  addTetrahedron(m, 3, 1, 2, kSel);
  addTetrahedron(m, -5, 0, 0, 0);
  const Vec3 mid{3.25f, 1.25f, 2.25f};
  ASSERT_EQ(outwardFaces(m, 0, 4, mid), 4);
  const Selection s = centreOf(m);
  EXPECT_EQ(flipSelection(m, s, Axis::X).request, Request::Normals);
  // Mirrored through the box centre x = 3.5: the corner at x 3 goes to 4, the one at 4 to 3.
  EXPECT_EQ(m.vertexPos[0].x, 4.0f);
  EXPECT_EQ(m.vertexPos[1].x, 3.0f);
  EXPECT_EQ(m.vertexPos[0].y, 1.0f);
  EXPECT_EQ(m.vertexPos[4].x, -5.0f);
  const Vec3 flippedMid{3.75f, 1.25f, 2.25f};
  EXPECT_EQ(outwardFaces(m, 0, 4, flippedMid), 0);
  EXPECT_EQ(reverseFaces(m).request, Request::Normals);
  EXPECT_EQ(outwardFaces(m, 0, 4, flippedMid), 4);
  EXPECT_EQ(outwardFaces(m, 4, 4, Vec3{-4.75f, 0.25f, 0.25f}), 4);
}

TEST(FlipSelection, FlipYAndZMirrorThroughTheBoxCentre) {
  Model m = makeEmptyModel();
  addTetrahedron(m, 0, 2, 4, kSel);
  flipSelection(m, centreOf(m), Axis::Y);
  EXPECT_EQ(m.vertexPos[2].y, 2.0f);
  EXPECT_EQ(m.vertexPos[0].y, 3.0f);
  EXPECT_EQ(m.vertexPos[0].x, 0.0f);
  flipSelection(m, centreOf(m), Axis::Z);
  EXPECT_EQ(m.vertexPos[3].z, 4.0f);
  EXPECT_EQ(m.vertexPos[0].z, 5.0f);
}

TEST(EmptyCases, EveryOperationOnAnEmptyModelChangesNothing) {
  Model m = makeEmptyModel();
  addVertex(m, 1, 2, 3);
  const Selection s{Vec3{1, 1, 1}, 0.0f};
  for (const EditResult r :
       {moveSelection(m, s, Vec3{1, 1, 1}, false), duplicateSelection(m, s, Vec3{1, 1, 1}, true),
        rotateSelection(m, Vec3{0, 0, 0}, 1, 1, 1), scaleSelection(m, Vec3{0, 0, 0}, Vec3{2, 2, 2}),
        deleteSelection(m, true)}) {
    EXPECT_EQ(r.request, Request::Present);
    EXPECT_EQ(r.message, kMsgNone);
  }
  EXPECT_EQ(flipSelection(m, s, Axis::X).message, kMsgNothingSelected);
  EXPECT_EQ(reverseFaces(m).message, kMsgNone);
  EXPECT_EQ(m.vertexCount, 1);
  EXPECT_EQ(m.triangleCount, 0);
  EXPECT_EQ(m.vertexPos[0].x, 1.0f);
}

TEST(EmptyCases, WithoutASelectionConfirmedOperationsReportAndChangeNothing) {
  Model m = deletionModel();
  for (int t = 0; t < m.triangleCount; ++t) m.triFlags[t] = 0;
  const Selection s = centreOf(m);
  for (const EditResult r :
       {moveSelection(m, s, Vec3{1, 1, 1}, false), duplicateSelection(m, s, Vec3{1, 1, 1}, false),
        rotateSelection(m, Vec3{0, 0, 0}, 1, 1, 1), scaleSelection(m, Vec3{0, 0, 0}, Vec3{2, 2, 2}),
        deleteSelection(m, true), flipSelection(m, s, Axis::Z)}) {
    EXPECT_EQ(r.message, kMsgNothingSelected);
    EXPECT_EQ(r.request, Request::Present);
  }
  reverseFaces(m);
  EXPECT_EQ(m.vertexCount, 6);
  EXPECT_EQ(m.triangleCount, 4);
  EXPECT_EQ(m.lineCount, 4);
  EXPECT_EQ(m.vertexPos[1].x, 10.0f);
  EXPECT_EQ(m.triVerts[0].b, 1);
}

}  // namespace
