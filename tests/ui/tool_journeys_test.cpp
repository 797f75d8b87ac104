// Journeys through the mouse tools, driven as a user drives them: keys, clicks and drags.
#include <string>
#include <vector>

#include "support/editor_fixture.h"
#include "ui/menu_lookup.h"
#include "ui/menus.h"

namespace {

int entryOf(const Editor& ed, int label, int menu) {
  for (int i = 0; i < ed.menus.menuEntryCount; ++i)
    if (ed.menus.menuEntries[i].label == label && ed.menus.menuEntries[i].menu == menu) return i;
  return -1;
}

class ToolJourney : public EditorFixture {
 protected:
  // Screen pixel in the middle of an entry.
  void pointAtEntry(int index, int buttons) {
    const MenuEntry& e = ed().menus.menuEntries[index];
    platform_.setMouse((e.column - 1) * 8 + 20, (e.row - 1) * ed().cellHeight + 2, buttons);
  }
  void clickEntry(int index) {
    pointAtEntry(index, 1);
    run(1);
    pointAtEntry(index, 0);
    run(2);
  }
  // F3 twice: opens "Selection..." and gives it the keyboard; "t" then turns on the tool.
  void selectionToolOn() {
    platform_.pushKey(keys::kF3);
    platform_.pushKey(keys::kF3);
    platform_.pushKey("t");
    runUntilKeysDone();
    ASSERT_TRUE(flagOn(ed(), kSelectTool));
  }
  std::vector<int> selected() {
    std::vector<int> s;
    for (int t = 0; t < ed().model.triangleCount; ++t)
      if ((ed().model.triFlags[t] & kSelectedBit) != 0) s.push_back(t);
    return s;
  }
  void clearSelection() {
    for (int t = 0; t < ed().model.triangleCount; ++t) ed().model.triFlags[t] &= 0x7F;
  }
  // Press at (x0, y0), drag to (x1, y1) with the button held, release there.
  void drag(int x0, int y0, int x1, int y1) {
    platform_.setMouse(x0, y0, 0);
    run(2);
    platform_.setMouse(x0, y0, 1);
    run(1);
    platform_.setMouse(x1, y1, 1);
    run(2);
    platform_.setMouse(x1, y1, 0);
    run(2);
  }
};

TEST_F(ToolJourney, SelectionBandIsClampedToTheFrameAndIndependentOfDirection) {
  start();
  run(1);
  selectionToolOn();
  run(1);
  ASSERT_EQ(ed().tools.tool, kToolSelection);
  const int cx = ed().camera.viewCenterX, cy = ed().camera.viewCenterY;

  // Released beyond the bottom right corner of the frame: the same as released on it.
  drag(cx, cy, 900, 700);
  const std::vector<int> beyond = selected();
  clearSelection();
  drag(cx, cy, 799, 599);
  const std::vector<int> onCorner = selected();
  EXPECT_FALSE(onCorner.empty());
  EXPECT_LT(onCorner.size(), 6u);
  EXPECT_EQ(beyond, onCorner);

  // From right to left and bottom to top: the same rectangle as the mirrored drag.
  clearSelection();
  drag(799, 599, cx, cy);
  EXPECT_EQ(selected(), onCorner);
  EXPECT_EQ(ed().tools.tool, kToolSelection);
}

TEST_F(ToolJourney, SelectionToolComesWithItsMenuAndGoesWithIt) {
  start();
  run(1);
  selectionToolOn();
  EXPECT_EQ(ed().tools.tool, kToolSelection);
  EXPECT_EQ(platform_.textRow(3).substr(2, 15), "tool: selection");
  // Closing the menu with its own close entry: the tool is off at the next present.
  platform_.pushKey("-");
  runUntilKeysDone();
  EXPECT_FALSE(menuShownOnScreen(ed().menus, kMenuSelection));
  EXPECT_EQ(ed().tools.tool, kToolMouselook);
  EXPECT_EQ(platform_.textRow(3).substr(2, 15), "tool: mouselook");
  // Opening it again (the option is still on) brings the tool back, but not over a tool
  // that is already running.
  platform_.pushKey(keys::kF3);
  runUntilKeysDone();
  EXPECT_EQ(ed().tools.tool, kToolSelection);
  platform_.pushKey(keys::kF5);  // "Misc tools" replaces "Selection..." on the anchor
  runUntilKeysDone();
  EXPECT_EQ(ed().tools.tool, kToolMouselook);
}

TEST_F(ToolJourney, AutotriangleWithEverythingBehindTheCameraMarksNothing) {
  start();
  run(1);
  // The camera pulled through the model: every vertex lies behind it.
  ed().camera.cameraDistance = -10000.0f;
  ed().requests.needRender = 1;
  run(1);
  platform_.pushKey(keys::kF5);
  platform_.pushKey(keys::kF5);
  platform_.pushKey("a");  // "Auto triangle"
  runUntilKeysDone();
  ASSERT_EQ(ed().tools.tool, kToolAutoTriangle);
  for (const int32_t slot : ed().tools.pickSlots) EXPECT_EQ(slot, -1);
  // No blue anywhere on screen.
  bool blue = false;
  for (int y = 0; y < 600 && !blue; ++y)
    for (int x = 0; x < 800 && !blue; ++x) blue = platform_.rgbAt(x, y) == 0x0000FFu;
  EXPECT_FALSE(blue);
  // A click then creates nothing.
  const int32_t triangles = ed().model.triangleCount;
  platform_.setMouse(600, 500, 1);
  run(2);
  EXPECT_EQ(ed().model.triangleCount, triangles);
}

TEST_F(ToolJourney, VertexEditOnAnEmptyModelKeepsPointOne) {
  start();
  run(1);
  platform_.pushKey(keys::kF5);
  platform_.pushKey(keys::kF5);
  platform_.pushKey("d");  // "Delete last vert" until nothing is left
  for (int i = 0; i < 9; ++i) platform_.pushKey("d");
  runUntilKeysDone();
  ASSERT_EQ(ed().model.vertexCount, 0);
  ed().fields.floatFields[kX1] = 1.5f;
  ed().fields.floatFields[kY1] = -2.0f;
  ed().fields.floatFields[kZ1] = 3.0f;
  platform_.pushKey("i");  // "vert edIt"
  platform_.pushKey("s");  // "[_] vert Selectr"
  runUntilKeysDone();
  ASSERT_EQ(ed().tools.tool, kToolVertexEdit);
  platform_.setMouse(400, 300, 0);
  run(2);
  platform_.setMouse(410, 310, 0);
  run(2);
  EXPECT_EQ(ed().tools.pickSlots[2], -1);
  EXPECT_EQ(ed().fields.floatFields[kX1], 1.5f);
  EXPECT_EQ(ed().fields.floatFields[kY1], -2.0f);
  EXPECT_EQ(ed().fields.floatFields[kZ1], 3.0f);
}

TEST_F(ToolJourney, BenchmarkStopsOnAKeyWhichIsNotActedOn) {
  start();
  run(1);
  platform_.pushKey(keys::kF5);
  platform_.pushKey(keys::kF5);
  platform_.pushKey("b");  // "Benchmark"
  runUntilKeysDone();
  ASSERT_EQ(ed().tools.tool, kToolBenchmark);
  const int presents = platform_.presents();
  run(3);
  EXPECT_EQ(platform_.presents(), presents + 3);  // a render and a present every pass
  // The headless clock stands still while nothing sleeps: no rate, so nothing after "tool:".
  EXPECT_EQ(platform_.textRow(3).substr(2, 30), "tool:" + std::string(25, ' '));
  platform_.sleepMs(500);
  run(1);
  EXPECT_EQ(platform_.textRow(3).substr(2, 27), "tool: FPS (R-click to end) ");
  // "-" would close "Misc tools"; here it only stops the benchmark.
  platform_.pushKey("-");
  run(3);
  EXPECT_EQ(ed().tools.tool, kToolMouselook);
  EXPECT_TRUE(menuShownOnScreen(ed().menus, 23));
  EXPECT_EQ(platform_.pendingKeys(), 0u);

  // A right click stops it too, and does not start a menu drag or a dolly-zoom.
  platform_.pushKey("b");
  runUntilKeysDone();
  ASSERT_EQ(ed().tools.tool, kToolBenchmark);
  const float distance = ed().camera.cameraDistance;
  pointAtEntry(entryOf(ed(), 113, 23), 2);
  run(1);
  EXPECT_EQ(ed().tools.tool, kToolMouselook);
  EXPECT_EQ(ed().menus.dragMenu, 0);
  EXPECT_EQ(ed().camera.cameraDistance, distance);
}

TEST_F(ToolJourney, StatusMessageIsShownByOnePresentOnly) {
  start();
  run(1);
  platform_.pushKey(keys::kF5);
  platform_.pushKey(keys::kF5);
  platform_.pushKey("t");  // "delete last Tri": "Deleted!"
  runUntilKeysDone(50);
  EXPECT_EQ(platform_.textRow(23).substr(0, 25), "Deleted!                 ");
  platform_.setMouse(500, 500, 0);  // moving the pointer alone presents nothing
  run(2);
  EXPECT_EQ(platform_.textRow(23).substr(0, 8), "Deleted!");
  platform_.pushKey(keys::kDown);  // a redraw
  run(2);
  EXPECT_EQ(platform_.textRow(23).substr(0, 8), std::string(8, ' '));
}

TEST_F(ToolJourney, TabFromNoFocusGoesToTheLowestNumberedOpenMenu) {
  start();
  run(1);
  platform_.pushKey(keys::kF4);  // 22 "Actions"
  runUntilKeysDone();
  // "Move selection" (11) beside it, opened by a click: no focus anywhere yet.
  clickEntry(entryOf(ed(), 63, 22));
  ASSERT_TRUE(menuShownOnScreen(ed().menus, 11));
  ASSERT_EQ(ed().menus.activeMenu, -1);
  platform_.pushKey(keys::kTab);
  run(2);
  EXPECT_EQ(ed().menus.activeMenu, 11);
  EXPECT_EQ(ed().menus.activeEntry, entryOf(ed(), 14, 11));
  platform_.pushKey(keys::kTab);
  run(2);
  EXPECT_EQ(ed().menus.activeMenu, 22);
  platform_.pushKey(keys::kTab);
  run(2);
  EXPECT_EQ(ed().menus.activeMenu, -1);
}

TEST_F(ToolJourney, MousePlotClicksCreateLinesToThePlottedPoint) {
  start();
  run(1);
  platform_.pushKey(keys::kF2);
  platform_.pushKey(keys::kF2);
  platform_.pushKey("l");  // "new Line"
  platform_.pushKey("m");  // "[_] Mouse plot"
  runUntilKeysDone();
  ASSERT_TRUE(flagOn(ed(), kMousePlot));
  ed().fields.floatFields[kX1] = 1.0f;
  ed().fields.floatFields[kY1] = 2.0f;
  ed().fields.floatFields[kZ1] = 3.0f;
  clickEntry(entryOf(ed(), 46, 6));  // "Y2" plots point 2
  ASSERT_EQ(ed().tools.tool, kToolMousePlot);
  EXPECT_EQ(ed().tools.plotTarget, 3);
  EXPECT_EQ(ed().tools.plotMenu, 6);

  const int32_t lines = ed().model.lineCount;
  const int32_t vertices = ed().model.vertexCount;
  platform_.setMouse(600, 450, 0);  // over the ground, clear of the menus
  run(2);
  const float x2 = ed().fields.floatFields[kX2];
  const float y2 = ed().fields.floatFields[kY2];
  EXPECT_EQ(ed().fields.floatFields[kZ2], 0.0f);  // the ground under the pointer
  platform_.setMouse(600, 450, 1);
  run(1);
  ASSERT_EQ(ed().model.lineCount, lines + 1);
  ASSERT_EQ(ed().model.vertexCount, vertices + 2);
  const Vec3 a = ed().model.vertexPos[vertices];
  const Vec3 b = ed().model.vertexPos[vertices + 1];
  EXPECT_EQ(a.x, 1.0f);
  EXPECT_EQ(a.y, 2.0f);
  EXPECT_EQ(a.z, 3.0f);
  EXPECT_EQ(b.x, x2);
  EXPECT_EQ(b.y, y2);
  EXPECT_EQ(b.z, 0.0f);
  platform_.setMouse(600, 450, 0);
  run(2);
  EXPECT_EQ(ed().tools.tool, kToolMousePlot);
  platform_.setMouse(600, 450, 1);  // every click makes one more line
  run(2);
  EXPECT_EQ(ed().model.lineCount, lines + 2);
  platform_.setMouse(600, 450, 2);
  run(2);
  EXPECT_EQ(ed().tools.tool, kToolMouselook);
}

}  // namespace
