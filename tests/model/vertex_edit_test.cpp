#include "model/vertex_edit.h"

#include <gtest/gtest.h>

#include "core/input_state.h"
#include "model/triangle_tools.h"
#include "support/model_invariants.h"
#include "ui/field_values.h"

namespace {

bool sameTri(const Tri& t, int32_t a, int32_t b, int32_t c) {
  return t.a == a && t.b == b && t.c == c;
}
bool sameLine(const Line& l, int32_t a, int32_t b) {
  return l.a == a && l.b == b;
}

struct VertexEditing : ::testing::Test {
  Model m = makeTestModel();
  void SetUp() override { ASSERT_TRUE(putDefaultModel(m)); }
};

TEST_F(VertexEditing, DeleteLastVertRemovesVertexEightAndItsTwoLines) {
  const EditResult r = deleteLastVertex(m);
  EXPECT_EQ(r.request, Request::Render);
  EXPECT_EQ(r.message, kMsgDeleted);
  EXPECT_EQ(m.vertexCount, 8);
  EXPECT_EQ(m.triangleCount, 6);
  ASSERT_EQ(m.lineCount, 2);
  EXPECT_TRUE(sameLine(m.lineVerts[0], 5, 6));
  EXPECT_TRUE(sameLine(m.lineVerts[1], 6, 7));
  EXPECT_TRUE(modelIsSound(m));
  // Once more: vertex 7 and its line go; the apex goes with its four triangles later.
  deleteLastVertex(m);
  EXPECT_EQ(m.lineCount, 1);
  for (int k = 0; k < 3; ++k) deleteLastVertex(m);
  EXPECT_EQ(m.vertexCount, 4);
  EXPECT_EQ(m.triangleCount, 2);
  EXPECT_TRUE(sameTri(m.triVerts[1], 2, 1, 0));
  EXPECT_TRUE(modelIsSound(m));
  // The last triangle goes without touching the vertices.
  EXPECT_EQ(deleteLastTriangle(m).message, kMsgDeleted);
  EXPECT_EQ(m.triangleCount, 1);
  EXPECT_EQ(m.vertexCount, 4);
}

TEST_F(VertexEditing, DeleteLastLineKeepsItsVertices) {
  const EditResult r = deleteLastLine(m);
  EXPECT_EQ(r.request, Request::Render);
  EXPECT_EQ(r.message, kMsgDeleted);
  ASSERT_EQ(m.lineCount, 3);
  EXPECT_TRUE(sameLine(m.lineVerts[2], 7, 8));
  EXPECT_EQ(m.vertexCount, 9);
}

TEST_F(VertexEditing, DeleteVertReindexesTheRest) {
  m.triFlags[1] = 0x85;
  m.triColor[1] = 0x1234;
  int32_t pick = 4;
  const EditResult r = deleteVertex(m, pick);
  EXPECT_EQ(r.request, Request::Normals);
  EXPECT_EQ(r.message, kMsgDeleted);
  EXPECT_EQ(pick, -1);
  EXPECT_EQ(m.vertexCount, 8);
  ASSERT_EQ(m.triangleCount, 2);
  EXPECT_TRUE(sameTri(m.triVerts[0], 0, 3, 2));
  EXPECT_TRUE(sameTri(m.triVerts[1], 2, 1, 0));
  EXPECT_EQ(m.triFlags[1], 0x85);
  EXPECT_EQ(m.triColor[1], 0x1234);
  ASSERT_EQ(m.lineCount, 4);
  EXPECT_TRUE(sameLine(m.lineVerts[0], 4, 5));
  EXPECT_TRUE(sameLine(m.lineVerts[1], 5, 6));
  EXPECT_TRUE(sameLine(m.lineVerts[2], 6, 7));
  EXPECT_TRUE(sameLine(m.lineVerts[3], 7, 4));
  EXPECT_EQ(m.vertexPos[4].x, -20.0f);  // old vertex 5 moved down
  EXPECT_EQ(m.vertexPos[7].y, 20.0f);
  EXPECT_TRUE(modelIsSound(m));
}

TEST_F(VertexEditing, CommandsWithoutAValidPickOrOnEmptyTablesDoNothing) {
  for (int32_t bad : {-1, 9, 1000}) {
    int32_t pick = bad;
    EXPECT_EQ(deleteVertex(m, pick).request, Request::None);
    EXPECT_EQ(pick, bad);
    Fields f;
    setFieldDefaults(f);
    EXPECT_EQ(moveVertex(m, fieldPoint(f, 1), bad).request, Request::None);
  }
  EXPECT_EQ(m.vertexCount, 9);
  EXPECT_EQ(m.triangleCount, 6);

  const EditResult cleared = clearModel(m);
  EXPECT_EQ(cleared.request, Request::Normals);
  EXPECT_EQ(cleared.message, kMsgModelCleared);
  EXPECT_EQ(m.vertexCount + m.triangleCount + m.lineCount, 0);
  for (const EditResult r : {deleteLastVertex(m), deleteLastTriangle(m), deleteLastLine(m)}) {
    EXPECT_EQ(r.request, Request::None);
    EXPECT_EQ(r.message, kMsgNone);
  }
  EXPECT_EQ(m.vertexCount + m.triangleCount + m.lineCount, 0);
}

TEST_F(VertexEditing, NewClearsEveryFlagByteAndMoveVertUsesThePointFields) {
  m.triFlags[3] = 0x83;
  m.triFlags[m.maxt] = 0x12;
  clearModel(m);
  EXPECT_EQ(m.triFlags[3], 0);
  EXPECT_EQ(m.triFlags[m.maxt], 0);

  ASSERT_TRUE(putDefaultModel(m));
  Fields f;
  setFieldDefaults(f);
  f.floatFields[kX1] = 1.5f;
  f.floatFields[kY1] = -2.0f;
  f.floatFields[kZ1] = 3.0f;
  EXPECT_EQ(moveVertex(m, fieldPoint(f, 1), 8).request, Request::Normals);
  EXPECT_EQ(m.vertexPos[8].x, 1.5f);
  EXPECT_EQ(m.vertexPos[8].y, -2.0f);
  EXPECT_EQ(m.vertexPos[8].z, 3.0f);
  EXPECT_EQ(m.vertexPos[7].x, 20.0f);
}

// The triangle tools.
struct TriangleTools : ::testing::Test {
  Model m = makeTestModel(100, 10, 10);
  ToolState tools;
  void SetUp() override {
    for (int k = 0; k < 6; ++k) addVertex(m, static_cast<float>(k), 0, 0);
  }
  EditResult click(int32_t p) {
    tools.pickSlots[2] = p;
    return manualTriangleClick(m, tools.pickSlots, tools.pickCount, 0x7C00);
  }
};

TEST_F(TriangleTools, ClickingTheFirstPickAgainDropsIt) {
  click(0);
  click(1);
  click(0);  // A, B, A -> B
  EXPECT_EQ(tools.pickCount, 1);
  EXPECT_EQ(tools.pickSlots[0], 1);
  click(2);
  const EditResult r = click(3);  // then C, D -> (B, C, D)
  EXPECT_EQ(r.request, Request::Normals);
  ASSERT_EQ(m.triangleCount, 1);
  EXPECT_TRUE(sameTri(m.triVerts[0], 1, 2, 3));
  EXPECT_EQ(m.triFlags[0], kSelectedBit);  // selected, group 0
  EXPECT_EQ(m.triColor[0], 0x7C00);
  EXPECT_EQ(tools.pickCount, 0);
  EXPECT_TRUE(modelIsSound(m));
}

TEST_F(TriangleTools, ClickingTheSecondPickAgainDropsIt) {
  click(0);
  click(1);
  click(1);  // A, B, B -> A
  EXPECT_EQ(tools.pickCount, 1);
  EXPECT_EQ(tools.pickSlots[0], 0);
  EXPECT_EQ(m.triangleCount, 0);
  click(4);
  click(5);
  ASSERT_EQ(m.triangleCount, 1);
  EXPECT_TRUE(sameTri(m.triVerts[0], 0, 4, 5));
}

TEST_F(TriangleTools, ClicksWithoutAVertexStoreNothing) {
  for (int32_t none : {-1, 6, 99}) {
    EXPECT_EQ(click(none).message, kMsgNone);
    EXPECT_EQ(tools.pickCount, 0);
  }
  click(0);
  click(1);
  EXPECT_EQ(click(-1).request, Request::None);
  EXPECT_EQ(tools.pickCount, 2);
  EXPECT_EQ(m.triangleCount, 0);
  // Picks held while the model shrank below them make no triangle.
  m.vertexCount = 1;
  EXPECT_EQ(click(0).request, Request::None);  // the first pick again: drop, no triangle
  tools.pickCount = 2;
  tools.pickSlots[0] = 0;
  tools.pickSlots[1] = 4;
  m.vertexCount = 3;
  EXPECT_EQ(click(2).request, Request::None);
  EXPECT_EQ(m.triangleCount, 0);
  // Autotriangle with fewer than three candidates.
  tools.pickSlots = {0, 1, -1};
  EXPECT_EQ(autoTriangleClick(m, tools.pickSlots, 0).request, Request::None);
  tools.pickSlots = {0, 1, 3};
  EXPECT_EQ(autoTriangleClick(m, tools.pickSlots, 0).request, Request::None);
  EXPECT_EQ(m.triangleCount, 0);
  EXPECT_TRUE(modelIsSound(m));
}

TEST_F(TriangleTools, AFullTriangleTableGivesTooManyTriangles) {
  for (int k = 0; k < 9; ++k) addTriangle(m, 0, 1, 2);
  ASSERT_EQ(m.triangleCount, m.maxt - 1);
  click(0);
  click(1);
  EXPECT_EQ(click(2).request, Request::Normals);
  EXPECT_EQ(m.triangleCount, m.maxt);
  click(0);
  click(1);
  const EditResult r = click(3);
  EXPECT_EQ(r.message, kMsgTooManyTriangles);
  EXPECT_EQ(r.request, Request::None);
  EXPECT_EQ(m.triangleCount, m.maxt);
  EXPECT_EQ(tools.pickCount, 0);  // the picks are cleared all the same
  tools.pickSlots = {0, 1, 2};
  EXPECT_EQ(autoTriangleClick(m, tools.pickSlots, 0).message, kMsgTooManyTriangles);
  EXPECT_TRUE(modelIsSound(m));
}

TEST_F(TriangleTools, AutoTriangleGivesTheSameTurningSenseOnScreen) {
  // Screen positions: 0 at (0, 0), 1 at (10, 0), 2 at (0, 10).
  m.vertexProj[0] = Vec3{0, 0, 5};
  m.vertexProj[1] = Vec3{10, 0, 5};
  m.vertexProj[2] = Vec3{0, 10, 5};
  tools.pickSlots = {0, 1, 2};  // turn > 0: exchanged
  EXPECT_EQ(autoTriangleClick(m, tools.pickSlots, 0x001F).request, Request::Normals);
  tools.pickSlots = {0, 2, 1};  // turn < 0: kept
  autoTriangleClick(m, tools.pickSlots, 0x001F);
  ASSERT_EQ(m.triangleCount, 2);
  EXPECT_TRUE(sameTri(m.triVerts[0], 0, 2, 1));
  EXPECT_TRUE(sameTri(m.triVerts[1], 0, 2, 1));
  EXPECT_EQ(m.triFlags[1], kSelectedBit);
  EXPECT_EQ(m.triColor[1], 0x001F);
}

}  // namespace
