#include "model/groups.h"

#include <gtest/gtest.h>

#include "support/small_models.h"

namespace {

constexpr uint8_t kSel = kSelectedBit;

TEST(PartGroups, SteppingWrapsAtBothEnds) {
  EXPECT_EQ(stepPartGroup(0, -1), 99);
  EXPECT_EQ(stepPartGroup(99, 1), 0);
  EXPECT_EQ(stepPartGroup(41, 1), 42);
  EXPECT_EQ(stepPartGroup(41, -1), 40);
  EXPECT_EQ(stepPartGroup(41, 0), 41);
}

TEST(PartGroups, ReassignMovesOnlySelectedTrianglesAndKeepsThemSelected) {
  Model m = makeEmptyModel();
  addTetrahedron(m, 0, 0, 0, 2);
  m.triFlags[0] = kSel | 2;
  m.triFlags[3] = kSel | 9;
  EXPECT_EQ(reassignSelection(m, 5).request, Request::Present);
  EXPECT_EQ(m.triFlags[0], 133);
  EXPECT_EQ(m.triFlags[1], 2);
  EXPECT_EQ(m.triFlags[3], 133);
}

TEST(PartColours, ChangeColorUsesTheLowFiveBitsOfEachChannel) {
  Model m = makeEmptyModel();
  addTetrahedron(m, 0, 0, 0, 0);
  m.triFlags[1] = kSel;
  m.triColor[0] = 0x0123;
  EXPECT_EQ(colourSelection(m, 31, 0, 0).request, Request::Render);
  EXPECT_EQ(m.triColor[1], 0x7C00);
  EXPECT_EQ(m.triColor[0], 0x0123);
  colourSelection(m, 32, 33, 31);
  EXPECT_EQ(m.triColor[1], (1 << 5) + 31);
  colourSelection(m, 0, 31, 0);
  EXPECT_EQ(m.triColor[1], 0x03E0);
}

TEST(PartColours, ChangeColorOnAnEmptyModelDoesNothing) {
  Model m = makeEmptyModel();
  m.triColor[0] = 7;
  m.triFlags[0] = kSel;  // a stale row
  EXPECT_EQ(colourSelection(m, 31, 31, 31).request, Request::Present);
  EXPECT_EQ(m.triColor[0], 7);
}

TEST(PartNames, RenameStoresTwelveCharactersAndAnEmptyAnswerClearsTheName) {
  Model m = makeEmptyModel();
  renamePartGroup(m, 7, "front wheel left");
  EXPECT_EQ(partName(m, 7), "front wheel ");
  EXPECT_EQ(m.partNames[7][12], 0);
  renamePartGroup(m, 7, "hub");
  EXPECT_EQ(partName(m, 7), "hub         ");
  EXPECT_EQ(m.partNames[7][3], 0);
  renamePartGroup(m, 7, "");
  EXPECT_EQ(partName(m, 7), std::string(12, ' '));
  EXPECT_EQ(partName(m, 0), "default     ");
}

}  // namespace
