// Editing journeys through the whole editor: the menus, typed fields and confirms a user
// would go through, checked on the stored model and on the frame.
#include <cmath>
#include <string>

#include "support/editor_fixture.h"
#include "ui/menus.h"

namespace {

class EditJourney : public EditorFixture {
 protected:
  int entryOfLabel(int label, int menu = -1) const {
    const MenuState& ms = ed_->menus;
    for (int i = 0; i < ms.menuEntryCount; ++i)
      if (ms.menuEntries[i].label == label && (menu < 0 || ms.menuEntries[i].menu == menu))
        return i;
    return -1;
  }

  // Highlights an entry of a menu on screen and presses Enter on it.
  void enterOn(int menu, int entry) {
    ASSERT_GE(entry, 0);
    ed_->menus.activeMenu = static_cast<int16_t>(menu);
    ed_->menus.activeEntry = static_cast<int16_t>(entry);
    platform_.pushKey(keys::kEnter);
    runUntilKeysDone();
  }

  void keys(std::initializer_list<std::string> ks) {
    for (const auto& k : ks) platform_.pushKey(k);
    runUntilKeysDone();
  }

  // Everything selected through "Selection..." (F3 twice gives it the focus, then "n").
  void selectAll() { keys({keys::kF3, keys::kF3, "n"}); }

  // Number of frame pixels whose channels satisfy `keep`.
  template <class Keep>
  int framePixels(Keep keep) const {
    int n = 0;
    for (const uint32_t p : ed_->render.frameBuffer)
      n += keep((p >> 16) & 255, (p >> 8) & 255, p & 255) ? 1 : 0;
    return n;
  }
};

TEST_F(EditJourney, DiscFromTypedFieldsHasItsRimClockwiseFromPlusX) {
  start();
  run(1);
  keys({keys::kF2, keys::kF2, "d"});  // "create Primitive", then "new Disc"
  ASSERT_EQ(ed().menus.activeMenu, 16);
  platform_.pushKey("1");  // X1, then Tab through Y1, Z1, "Radius" and "sIdes"
  platform_.typeText("5\t6\t7\t2\t4\r");
  runUntilKeysDone();
  EXPECT_EQ(ed().fields.floatFields[kRadius], 2.0f);
  EXPECT_EQ(ed().fields.displayValues[kFieldSides], 4);
  keys({"."});
  const Model& m = ed().model;
  ASSERT_EQ(m.vertexCount, 9 + 5);
  ASSERT_EQ(m.triangleCount, 6 + 4);
  EXPECT_EQ(m.vertexPos[9].x, 5.0f);  // the centre
  EXPECT_EQ(m.vertexPos[9].z, 7.0f);
  EXPECT_EQ(m.vertexPos[10].x, 7.0f);  // the rim starts at angle 0 ...
  EXPECT_EQ(m.vertexPos[10].y, 6.0f);
  const float expect[4][2] = {{7, 6}, {5, 4}, {3, 6}, {5, 8}};  // ... and runs clockwise
  for (int k = 0; k < 4; ++k) {
    EXPECT_NEAR(m.vertexPos[10 + k].x, expect[k][0], 1e-5) << k;
    EXPECT_NEAR(m.vertexPos[10 + k].y, expect[k][1], 1e-5) << k;
    EXPECT_EQ(m.vertexPos[10 + k].z, 7.0f);
  }
  const Tri last = m.triVerts[9];
  EXPECT_EQ(last.a, 9);  // the closing triangle (n, n + s, n + 1)
  EXPECT_EQ(last.b, 13);
  EXPECT_EQ(last.c, 10);
  run(1);
  EXPECT_NEAR(m.triNormal[6].z, -1.0f, 1e-6);  // the fan faces down
  EXPECT_EQ(m.triFlags[6], 0);                 // unselected, group 0
}

TEST_F(EditJourney, RotateAboutTheSelectionCentreTurnsTheWholePyramid) {
  start();
  run(1);
  selectAll();
  keys({keys::kF4, keys::kF4, "r"});  // "Actions", then "Rotate selection"
  ASSERT_EQ(ed().menus.activeMenu, 13);
  enterOn(13, entryOfLabel(93, 13));  // "selection center": the box centre (0, 0, 10)
  EXPECT_EQ(ed().fields.floatFields[kX1], 0.0f);
  EXPECT_EQ(ed().fields.floatFields[kY1], 0.0f);
  EXPECT_EQ(ed().fields.floatFields[kZ1], 10.0f);
  platform_.pushKey("2");         // "XY angle"
  platform_.typeText("1.57080");  // the seventh character ends the entry
  runUntilKeysDone();
  EXPECT_FLOAT_EQ(ed().fields.floatFields[kXYAngle], 1.5708f);
  keys({"."});  // "....confirm....."
  const Model& m = ed().model;
  // A quarter turn counter-clockwise seen from +z: (10, -10, 0) goes to (10, 10, 0).
  EXPECT_NEAR(m.vertexPos[1].x, 10.0f, 1e-3);
  EXPECT_NEAR(m.vertexPos[1].y, 10.0f, 1e-3);
  EXPECT_EQ(m.vertexPos[1].z, 0.0f);
  EXPECT_NEAR(m.vertexPos[4].x, 0.0f, 1e-6);  // the apex on the axis stays
  EXPECT_EQ(m.vertexPos[4].z, 20.0f);
  EXPECT_EQ(m.vertexPos[5].x, -20.0f);  // the line square is not selected
}

TEST_F(EditJourney, GuillotinedCubeOpensAGapWhenItsTopMoves) {
  start();
  run(1);
  keys({keys::kF2, keys::kF2, "u"});
  platform_.pushKey("1");
  platform_.typeText("40\t0\t0\t8\r");
  runUntilKeysDone();
  keys({"."});  // a cube x 36..44, y -4..4, z 0..8 at vertices 9..16
  ASSERT_EQ(ed().model.triangleCount, 18);
  keys({keys::kF5, keys::kF5, "g"});  // "Misc tools", then "Guillotine"
  ASSERT_EQ(ed().menus.activeMenu, 26);
  platform_.pushKey("1");
  platform_.typeText("0\t0\t4\r");  // Z1 = 4
  runUntilKeysDone();
  keys({"s"});  // "Slice xy plane"
  const Model& m = ed().model;
  // Every piece lies wholly on one side; the upper ones are selected.
  int upperCube = 0;
  for (int t = 0; t < m.triangleCount; ++t) {
    const Tri tri = m.triVerts[t];
    const Vec3 p[3] = {m.vertexPos[tri.a], m.vertexPos[tri.b], m.vertexPos[tri.c]};
    const bool selected = (m.triFlags[t] & kSelectedBit) != 0;
    for (const Vec3& v : p) EXPECT_TRUE(selected ? v.z >= 4.0f : v.z <= 4.0f) << t;
    upperCube += selected && p[0].x > 30.0f;
  }
  // The top and, of each side face, the two pieces above its lone lower corner and the one
  // piece of its lone upper corner.
  EXPECT_EQ(upperCube, 2 + 4 * 3);

  keys({keys::kF4, keys::kF4, "m"});  // "Move selection"
  platform_.pushKey("1");
  platform_.typeText("0\t0\t5\r");
  runUntilKeysDone();
  keys({"."});
  // No triangle was stretched across the cut: the pieces on each side moved apart.
  for (int t = 0; t < m.triangleCount; ++t) {
    const Tri tri = m.triVerts[t];
    const float za = m.vertexPos[tri.a].z, zb = m.vertexPos[tri.b].z, zc = m.vertexPos[tri.c].z;
    const bool upper = (m.triFlags[t] & kSelectedBit) != 0;
    for (const float z : {za, zb, zc}) EXPECT_TRUE(upper ? z >= 9.0f : z <= 4.0f) << t;
  }
}

TEST_F(EditJourney, DeleteSelectionWithRemoveVertsKeepsTheLineSquare) {
  start();
  run(1);
  selectAll();
  keys({keys::kF4, keys::kF4, "d"});  // "Delete selection"
  ASSERT_EQ(ed().menus.activeMenu, 21);
  enterOn(21, entryOfLabel(95, 21));  // "[_] remove verts"
  ASSERT_TRUE(flagOn(ed(), kRemoveVerts));
  ed().menus.activeMenu = 21;
  keys({"."});
  const Model& m = ed().model;
  EXPECT_EQ(m.triangleCount, 0);
  ASSERT_EQ(m.vertexCount, 4);  // only the line ends survive, moved down
  EXPECT_EQ(m.vertexPos[0].x, -20.0f);
  EXPECT_EQ(m.vertexPos[0].z, 30.0f);
  ASSERT_EQ(m.lineCount, 4);
  EXPECT_EQ(m.lineVerts[0].a, 0);
  EXPECT_EQ(m.lineVerts[3].a, 3);
  EXPECT_EQ(m.lineVerts[3].b, 0);
  run(1);
  EXPECT_EQ(platform_.textRow(23).substr(0, 8), "Deleted!");
}

TEST_F(EditJourney, RenamingAGroupInPartNamesShowsInItsRow) {
  start();
  run(1);
  openMenu(ed(), 19);  // "part Names", rows for the groups 0..7
  run(1);
  const int first = entryOfLabel(90, 19);
  ASSERT_GE(first, 0);
  ed().menus.activeMenu = 19;
  ed().menus.activeEntry = static_cast<int16_t>(first + 1);  // the row of group 1
  platform_.pushKey(keys::kEnter);
  platform_.typeText("front wheels and more\r");  // the prompt's answer
  runUntilKeysDone();
  EXPECT_EQ(partName(ed().model, 1), "front wheels");
  EXPECT_EQ(partName(ed().model, 0), "default     ");
  run(1);
  const MenuEntry row = ed().menus.menuEntries[first + 1];
  EXPECT_NE(platform_.textRow(row.row).find("front wheels"), std::string::npos);
}

TEST_F(EditJourney, PartNamesStepsDownFromZeroAndItsRowsWrapPastNinetyNine) {
  start();
  run(1);
  openMenu(ed(), 19);
  run(1);
  const MenuEntry e = ed().menus.menuEntries[entryOfLabel(88, 19)];
  const int x = (e.column - 1) * 8 + 4;  // the left half of "<- part group ->"
  const int y = (e.row - 1) * ed().cellHeight + 2;
  for (int i = 0; i < 5; ++i) {
    platform_.setMouse(x, y, 1);
    run(1);
    platform_.setMouse(x, y, 0);
    run(1);
  }
  EXPECT_EQ(ed().menus.menuPartGroup[19], 95);
  const int first = entryOfLabel(90, 19);
  const char* shown[] = {"95", "96", "97", "98", "99", "00", "01", "02"};
  for (int k = 0; k < 8; ++k) {
    const MenuEntry row = ed().menus.menuEntries[first + k];
    EXPECT_EQ(platform_.textRow(row.row).substr(row.column, 3), std::string(shown[k]) + " ");
    EXPECT_EQ(row.part, (95 + k) % 100);
  }
  const MenuEntry zero = ed().menus.menuEntries[first + 5];
  EXPECT_EQ(platform_.textRow(zero.row).substr(zero.column + 3, 12), "default     ");
}

TEST_F(EditJourney, ReassignMovesTheSelectionIntoTheClickedGroup) {
  start();
  run(1);
  selectAll();
  keys({keys::kF4, keys::kF4});  // "Actions" with the focus
  const int stepper = entryOfLabel(88, 22);
  ASSERT_GE(stepper, 0);
  const MenuEntry e = ed().menus.menuEntries[stepper];
  // A click in the right half of "<- part group ->" steps the group up.
  const int x = (e.column - 1) * 8 + e.width * 8 - 4;
  const int y = (e.row - 1) * ed().cellHeight + 2;
  for (int i = 0; i < 3; ++i) {
    platform_.setMouse(x, y, 1);
    run(1);
    platform_.setMouse(x, y, 0);
    run(1);
  }
  EXPECT_EQ(ed().menus.menuPartGroup[22], 3);
  enterOn(22, entryOfLabel(92, 22));  // "reassigN to"
  for (int t = 0; t < 6; ++t) EXPECT_EQ(ed().model.triFlags[t], 128 + 3) << t;
}

TEST_F(EditJourney, ChangeColorShowsInTheFrameWithModelColours) {
  start();
  run(1);
  openMenu(ed(), 3);  // "  View": "[_] model Colors"
  run(1);
  enterOn(3, entryOfLabel(121, 3));
  ASSERT_TRUE(flagOn(ed(), kModelColors));
  selectAll();
  keys({keys::kF4, keys::kF4, "c"});  // "Change color"
  ASSERT_EQ(ed().menus.activeMenu, 27);
  platform_.pushKey("r");
  platform_.typeText("0\t31\t0\r");
  runUntilKeysDone();
  keys({"."});
  const Model& m = ed().model;
  for (int t = 0; t < 6; ++t) EXPECT_EQ(m.triColor[t], 0x03E0) << t;
  keys({keys::kF3, keys::kF3, "l"});  // "cLear selection": the colour itself shows
  EXPECT_GT(framePixels([](int r, int g, int b) { return r == 0 && g > 0 && b == 0; }), 0);
}

}  // namespace
