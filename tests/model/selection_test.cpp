#include "model/selection.h"

#include <gtest/gtest.h>

#include "model/selection_ops.h"
#include "support/small_models.h"

namespace {

constexpr uint8_t kSel = kSelectedBit;

TEST(SelectionBit, InvertTwiceRestoresAndInvertOfNothingSelectsAll) {
  Model m = makeEmptyModel();
  addTetrahedron(m, 0, 0, 0, 0);
  m.triFlags[1] = kSel | 4;
  invertSelection(m);
  EXPECT_EQ(m.triFlags[0], kSel);
  EXPECT_EQ(m.triFlags[1], 4);
  EXPECT_EQ(countSelected(m), 3);
  invertSelection(m);
  EXPECT_EQ(m.triFlags[0], 0);
  EXPECT_EQ(m.triFlags[1], kSel | 4);
  EXPECT_EQ(countSelected(m), 1);
}

TEST(SelectionBit, SelectAllAndClearKeepTheGroupsAndStayInsideTheModel) {
  Model m = makeEmptyModel();
  addTetrahedron(m, 0, 0, 0, 7);
  m.triFlags[4] = 3;  // a stale row past the count
  EXPECT_EQ(selectAll(m).request, Request::Render);
  for (int t = 0; t < 4; ++t) EXPECT_EQ(m.triFlags[t], kSel | 7);
  EXPECT_EQ(m.triFlags[4], 3);
  EXPECT_EQ(clearSelection(m).request, Request::Render);
  for (int t = 0; t < 4; ++t) EXPECT_EQ(m.triFlags[t], 7);
}

TEST(SelectionBit, GroupRowsSelectOrUnselectOnlyTheirGroup) {
  Model m = makeEmptyModel();
  addTetrahedron(m, 0, 0, 0, 3);
  m.triFlags[1] = kSel | 3;
  m.triFlags[2] = kSel | 4;
  m.triFlags[3] = 4;
  EXPECT_EQ(selectGroup(m, 3, true).request, Request::Render);
  EXPECT_EQ(m.triFlags[0], 3);
  EXPECT_EQ(m.triFlags[1], 3);
  EXPECT_EQ(m.triFlags[2], kSel | 4);
  EXPECT_EQ(m.triFlags[3], 4);
  selectGroup(m, 3, false);
  EXPECT_EQ(m.triFlags[0], kSel | 3);
  EXPECT_EQ(m.triFlags[1], kSel | 3);
  EXPECT_EQ(m.triFlags[3], 4);
}

TEST(SelectionMarks, SelectedVerticesAndUnselectedUse) {
  Model m = makeEmptyModel();
  for (int i = 0; i < 6; ++i) addVertex(m, static_cast<float>(i), 0, 0);
  addTriangle(m, 0, 1, 2, kSel);
  addTriangle(m, 2, 3, 4, 0);
  addTriangle(m, 1, 0, 2, kSel);
  m.vertexMark[5] = 42;  // stale
  EXPECT_EQ(markSelectedVertices(m), 2);
  EXPECT_EQ(m.vertexMark[0], 1);
  EXPECT_EQ(m.vertexMark[2], 1);
  EXPECT_EQ(m.vertexMark[3], 0);
  EXPECT_EQ(m.vertexMark[5], 0);
  markUnselectedUse(m);
  EXPECT_EQ(m.vertexMark[1], 1);
  EXPECT_EQ(m.vertexMark[2], 3);
  EXPECT_EQ(m.vertexMark[3], 2);
  EXPECT_EQ(m.vertexMark[5], 0);
}

TEST(SelectionMarks, CompactionDropsTheMarkedAndKeepsTheOrder) {
  Model m = makeEmptyModel();
  for (int i = 0; i < 3; ++i) addVertex(m, 0, 0, 0);
  for (int t = 0; t < 5; ++t) {
    addTriangle(m, t % 3, 0, 1, static_cast<uint8_t>(t), static_cast<uint16_t>(100 + t));
    m.triNormal[t] = Vec3{static_cast<float>(t), 0, 0};
  }
  m.triFlags[0] = kRemoveMark;
  m.triFlags[2] = kRemoveMark;
  compactTriangles(m);
  ASSERT_EQ(m.triangleCount, 3);
  EXPECT_EQ(m.triColor[0], 101);
  EXPECT_EQ(m.triColor[1], 103);
  EXPECT_EQ(m.triColor[2], 104);
  EXPECT_EQ(m.triFlags[1], 3);
  EXPECT_EQ(m.triVerts[1].a, 0);
  EXPECT_EQ(m.triNormal[2].x, 4.0f);
  EXPECT_EQ(m.vertexCount, 3);
}

TEST(SelectionCentre, IsTheBoxCentreNotTheAverage) {
  Model m = makeEmptyModel();
  addVertex(m, 0, 0, 3);
  addVertex(m, 0, 2, 3);
  addVertex(m, 0, 0, 5);
  addVertex(m, 10, 0, 3);
  addVertex(m, -50, -50, -50);
  addTriangle(m, 0, 1, 2, kSel);
  addTriangle(m, 0, 2, 3, kSel);
  addTriangle(m, 4, 0, 1, 0);
  Selection s;
  computeSelectionCenter(m, s);
  EXPECT_EQ(s.selectionCenter.x, 5.0f);
  EXPECT_EQ(s.selectionCenter.y, 1.0f);
  EXPECT_EQ(s.selectionCenter.z, 4.0f);
  EXPECT_EQ(s.selectionMinZ, 3.0f);
  Fields f;
  EXPECT_EQ(selectionCenterToFields(s, f).request, Request::Present);
  EXPECT_EQ(f.floatFields[kX1], 5.0f);
  EXPECT_EQ(f.floatFields[kY1], 1.0f);
  EXPECT_EQ(f.floatFields[kZ1], 4.0f);
}

TEST(SelectionCentre, NothingSelectedGivesTheOriginAndAFarMinimum) {
  Model m = makeEmptyModel();
  addTetrahedron(m, 5, 5, 5, 0);
  Selection s{Vec3{9, 9, 9}, 0.0f};
  computeSelectionCenter(m, s);
  EXPECT_EQ(s.selectionCenter.x, 0.0f);
  EXPECT_EQ(s.selectionCenter.y, 0.0f);
  EXPECT_EQ(s.selectionCenter.z, 0.0f);
  EXPECT_EQ(s.selectionMinZ, 1.0e9f);
}

}  // namespace
