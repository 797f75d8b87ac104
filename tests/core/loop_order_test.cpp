// The order in which one pass hands its input to the consumers, and where each early exit
// continues: at the tools, at the end of the pass, or at the loop top.
#include "support/editor_fixture.h"
#include "ui/menu_lookup.h"
#include "ui/menus.h"

namespace {

class PassOrder : public EditorFixture {
 protected:
  int entryOf(int label, int menu) {
    for (int i = 0; i < ed().menus.menuEntryCount; ++i) {
      const MenuEntry& e = ed().menus.menuEntries[i];
      if (e.label == label && e.menu == menu) return i;
    }
    return -1;
  }
  // Screen pixel inside an entry.
  std::pair<int, int> at(int index) {
    const MenuEntry& e = ed().menus.menuEntries[index];
    return {(e.column - 1) * 8 + 20, (e.row - 1) * ed().cellHeight + 2};
  }
};

TEST_F(PassOrder, TheAltPressEdgeDropsTheKeyOfItsPass) {
  start();
  run(1);
  platform_.setKeyHeld(kScanAlt, true);
  platform_.pushKey("f");  // would open "  File" once the bar has the focus
  run(1);
  EXPECT_EQ(ed().menus.activeMenu, 0);
  EXPECT_EQ(platform_.pendingKeys(), 0u);
  run(2);
  EXPECT_EQ(ed().menus.menuEntryCount, 4);  // nothing opened
  platform_.pushKey("f");
  run(2);
  EXPECT_EQ(ed().menus.activeMenu, 1);
}

TEST_F(PassOrder, ACameraKeyGoesStraightToTheTools) {
  start();
  run(1);
  platform_.pushKey(keys::kF3);  // "Selection..." without the focus
  run(2);
  const auto [x, y] = at(entryOf(60, 10));  // "cLear selection"
  platform_.setMouse(x, y, 0);
  run(2);
  ed().model.triFlags[0] |= kSelectedBit;
  // PgUp and a click on the entry in the same pass: the camera moves, the click is not
  // taken by the menus but by the tool (an orbit drag, which measures from the snapshot and
  // so keeps the angles, not the distance).
  const float before = ed().camera.cameraDistance;
  platform_.pushKey(keys::kPgUp);
  platform_.setMouse(x, y, 1);
  run(1);
  EXPECT_EQ(ed().camera.cameraDistance, before * 0.9f);
  EXPECT_EQ(ed().menus.menuClicked, 0);
  EXPECT_NE(ed().model.triFlags[0] & kSelectedBit, 0);
  // A right press on the entry together with a camera key starts no drag either.
  platform_.setMouse(x, y, 0);
  run(2);
  platform_.pushKey(keys::kPgDn);
  platform_.setMouse(x, y, 2);
  run(1);
  EXPECT_EQ(ed().menus.dragMenu, 0);
}

TEST_F(PassOrder, F6EndsThePassBeforeTheMenuClick) {
  start();
  run(1);
  platform_.pushKey(keys::kF3);
  run(2);
  const auto [x, y] = at(entryOf(59, 10));  // "sl. eNtire model"
  platform_.setMouse(x, y, 0);
  run(2);
  platform_.pushKey(keys::kF6);
  platform_.setMouse(x, y, 1);
  run(1);
  EXPECT_EQ(ed().menus.menuClicked, 0);
  for (int t = 0; t < ed().model.triangleCount; ++t)
    EXPECT_NE(ed().model.triFlags[t] & kSelectedBit, 0);  // inverted, not "select all"
  EXPECT_EQ(ed().input.anchorX, x);                       // the end-of-pass step ran
}

TEST_F(PassOrder, APanelKeyLetsTheToolHandleTheMouseInTheSamePass) {
  start();
  run(1);
  platform_.setMouse(500, 400, 1);
  run(1);
  const float before = ed().camera.cameraXY;
  platform_.pushKey(keys::kF4);
  platform_.setMouse(540, 400, 1);  // an orbit drag in the pass of F4
  run(1);
  EXPECT_TRUE(menuShownOnScreen(ed().menus, 22));
  EXPECT_NE(ed().camera.cameraXY, before);
}

TEST_F(PassOrder, AClickOnAnEntryKeepsTheToolAwayUntilTheButtonIsUp) {
  start();
  run(1);
  platform_.pushKey(keys::kF4);  // "Actions"
  run(2);
  const auto [x, y] = at(entryOf(97, 22));  // "flip X": nothing selected, a message
  platform_.setMouse(x, y, 0);
  run(2);
  const float before = ed().camera.cameraXY;
  platform_.setMouse(x, y, 1);
  run(1);
  EXPECT_EQ(ed().menus.menuClicked, 1);
  platform_.setMouse(x + 200, y + 100, 1);  // dragging off the entry with the button held
  run(2);
  EXPECT_EQ(ed().camera.cameraXY, before);
  platform_.setMouse(x + 200, y + 100, 0);
  run(1);
  EXPECT_EQ(ed().menus.menuClicked, 0);
  platform_.setMouse(x + 200, y + 100, 1);  // a press in the view orbits again
  run(1);
  platform_.setMouse(x + 260, y + 100, 1);
  run(1);
  EXPECT_NE(ed().camera.cameraXY, before);
}

TEST_F(PassOrder, DraggingAWindowSkipsTheEndOfPass) {
  start();
  run(1);
  platform_.pushKey(keys::kF4);
  run(2);
  const auto [x, y] = at(entryOf(97, 22));
  platform_.setMouse(x, y, 0);
  run(2);
  platform_.setMouse(x, y, 2);
  run(1);
  ASSERT_EQ(ed().menus.dragMenu, 22);
  EXPECT_EQ(ed().input.anchorScreenX, x);  // the press pass ends normally
  const float distance = ed().camera.cameraDistance;
  platform_.setMouse(x + 5, y, 2);  // less than a cell: nothing moves, the anchor stays
  run(1);
  EXPECT_EQ(ed().input.anchorScreenX, x);
  platform_.setMouse(x + 12, y, 2);  // 12 pixels from the anchor: one cell
  run(1);
  EXPECT_EQ(ed().menus.menuEntries[entryOf(97, 22)].column, 3);
  EXPECT_EQ(ed().input.anchorScreenX, x + 8);
  EXPECT_EQ(ed().camera.cameraDistance, distance);  // no dolly-zoom while dragging
}

}  // namespace
