#include <string>

#include "support/editor_fixture.h"
#include "ui/menu_tables.h"
#include "ui/menus.h"

namespace {

class MenuScreen : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    start();
    run(1);
  }
  MenuState& ms() { return ed().menus; }
  // Draws the menus the way a present does and returns the row as the user reads it.
  void draw() {
    for (int m = 0; m <= kMenuCount; ++m) ms().menuPartCursor[m] = ms().menuPartGroup[m];
    platform_.lock();
    drawMenus(ed());
    platform_.unlock();
  }
  std::string cells(int row, int column, int count) {
    return platform_.textRow(row).substr(column - 1, count);
  }
  // Centre-left pixel of a text cell.
  uint32_t cellPixel(int row, int column) {
    return platform_.rgbAt((column - 1) * 8 + 1, (row - 1) * ed().cellHeight + 1);
  }
  int firstOf(int menu) {
    for (int i = 0; i < ms().menuEntryCount; ++i)
      if (ms().menuEntries[i].menu == menu) return i;
    return -1;
  }
  // Right-button drag of a window through the steps the loop runs.
  void pressRight(int x, int y) {
    InputState& in = ed().input;
    in.mouseScreenX = x;
    in.mouseScreenY = y;
    in.mouseButtons = 2;
    in.rightClick = 2;
    ASSERT_EQ(handleMenuDrag(ed()), PassFlow::EndPass);
    in.rightClick = 0;
    in.anchorScreenX = x;  // the end of that pass takes the snapshot
    in.anchorScreenY = y;
  }
  PassFlow moveTo(int x, int y) {
    ed().input.mouseScreenX = x;
    ed().input.mouseScreenY = y;
    return handleMenuDrag(ed());
  }
};

TEST_F(MenuScreen, FileMenuAsTheUserReadsIt) {
  openMenu(ed(), 1);
  run(1);  // the present refreshes the totals
  draw();
  EXPECT_EQ(cells(2, 2, 8), "  File  ");
  EXPECT_EQ(cells(2, 12, 8), "  Edit  ");
  EXPECT_EQ(cells(2, 22, 8), "  View  ");
  EXPECT_EQ(cells(2, 32, 8), " Camera ");
  EXPECT_EQ(cells(4, 2, 16), "---- close -----");
  EXPECT_EQ(cells(5, 2, 16), " New            ");
  EXPECT_EQ(cells(6, 2, 16), " Open           ");
  EXPECT_EQ(cells(9, 2, 16), " Quit           ");
  EXPECT_EQ(cells(11, 2, 16), "save scReenshot ");
  EXPECT_EQ(cells(12, 2, 16), std::string(16, ' '));
  EXPECT_EQ(cells(13, 2, 16), "current totals  ");
  EXPECT_EQ(cells(14, 2, 16), "verteces       9");
  EXPECT_EQ(cells(15, 2, 16), "triangles      6");
  EXPECT_EQ(cells(16, 2, 16), "lines          4");
  EXPECT_EQ(cells(17, 2, 16), std::string(16, ' '));
  // Backgrounds by kind: submenu, action, readout.
  EXPECT_EQ(cellPixel(2, 9), 0x8080C0u);
  EXPECT_EQ(cellPixel(5, 17), 0xC08080u);
  EXPECT_EQ(cellPixel(14, 12), 0x808080u);
}

TEST_F(MenuScreen, CheckBoxesFieldsAndTheHighlight) {
  ms().activeMenu = 0;
  openMenu(ed(), 3);
  ed().fields.floatFields[kDrawDepth] = 0.25f;
  draw();
  EXPECT_EQ(cells(5, 2, 16), "[_] show veRts  ");
  EXPECT_EQ(cells(6, 2, 16), "[X] show Tris   ");
  EXPECT_EQ(cells(7, 2, 16), "[X] show Lines  ");
  EXPECT_EQ(cells(9, 2, 16), "[X] show Grid   ");
  EXPECT_EQ(cells(15, 2, 16), "drawdepth.250000");
  EXPECT_EQ(cellPixel(5, 17), 0x80C080u);   // check box
  EXPECT_EQ(cellPixel(15, 10), 0x808080u);  // field label
  EXPECT_EQ(cellPixel(15, 11), 0x000040u);  // field digits
  // The focused menu's first entry is highlighted, with wedges on both sides.
  EXPECT_EQ(ms().activeEntry, firstOf(3));
  const int y1 = 3 * ed().cellHeight, y2 = y1 + ed().cellHeight - 1;
  for (int k = 0; k <= 3; ++k) {
    EXPECT_EQ(platform_.rgbAt(7 - k, y1 + k), 0xC0C0C0u) << k;
    EXPECT_EQ(platform_.rgbAt(7 - k, y2 - k), 0xC0C0C0u) << k;
    EXPECT_EQ(platform_.rgbAt(136 + k, y1 + 8), 0xC0C0C0u) << k;
  }
  EXPECT_NE(platform_.rgbAt(4, y1 + 2), 0xC0C0C0u) << "the wedge narrows outward";
  EXPECT_NE(platform_.rgbAt(3, y1 + 8), 0xC0C0C0u);
}

TEST_F(MenuScreen, PartRowsShowSuccessiveGroupsAndWrap) {
  openMenu(ed(), 20);
  setPartName(ed().model, 99, "last one");
  ms().menuPartGroup[20] = 98;
  draw();
  EXPECT_EQ(cells(6, 20, 15), "98             ");
  EXPECT_EQ(cells(7, 20, 15), "99 last one    ");
  EXPECT_EQ(cells(8, 20, 15), "00 default     ");
  EXPECT_EQ(cells(9, 20, 15), "01             ");
  const int first = firstOf(20);
  EXPECT_EQ(ms().menuEntries[first + 2].part, 98);
  EXPECT_EQ(ms().menuEntries[first + 4].part, 0);
  EXPECT_EQ(ms().menuEntries[first + 9].part, 5);
  EXPECT_EQ(ms().menuPartCursor[20], 6);
  EXPECT_EQ(cellPixel(6, 19), 0xC060C0u);
}

TEST_F(MenuScreen, HitTestAndSide) {
  MenuState& m = ms();
  const int ch = ed().cellHeight;
  EXPECT_EQ(m.hitSide, 0);
  EXPECT_EQ(hitTest(m, 8, ch, ch), 0);  // "  File" spans x 8..72, y ch..2ch-1
  EXPECT_EQ(m.hitSide, -1);
  EXPECT_EQ(hitTest(m, 41, 2 * ch - 1, ch), 0);
  EXPECT_EQ(m.hitSide, 1);
  EXPECT_EQ(hitTest(m, 40, ch, ch), 0);
  EXPECT_EQ(m.hitSide, -1);
  EXPECT_EQ(hitTest(m, 72, ch, ch), 0);  // the right edge counts
  EXPECT_EQ(m.hitSide, 1);
  EXPECT_EQ(hitTest(m, 80, ch, ch), -1);
  EXPECT_EQ(m.hitSide, 1) << "a miss keeps the side";
  EXPECT_EQ(hitTest(m, 7, ch, ch), -1);
  EXPECT_EQ(hitTest(m, 20, 2 * ch, ch), -1);
  EXPECT_EQ(hitTest(m, 100, ch + 3, ch), 1);
  openMenu(ed(), 15);
  const int partGroup = firstOf(15) + 1;  // "<- part group ->", row 5
  EXPECT_EQ(hitTest(m, 8 + 10, 4 * ch + 2, ch), partGroup);
  EXPECT_EQ(m.hitSide, -1);
  EXPECT_EQ(hitTest(m, 8 + 100, 4 * ch + 2, ch), partGroup);
  EXPECT_EQ(m.hitSide, 1);
}

TEST_F(MenuScreen, DragMovesByWholeCellsAndAccumulates) {
  openMenu(ed(), 21);  // column 19, rows 4..6
  const int first = firstOf(21);
  const int ch = ed().cellHeight;
  pressRight(18 * 8 + 2, 3 * ch + 2);
  EXPECT_EQ(ms().dragMenu, 21);
  ed().requests = LoopRequests{};
  EXPECT_EQ(moveTo(18 * 8 + 7, 3 * ch + 2), PassFlow::Restart);  // 5 pixels: not a cell yet
  EXPECT_EQ(ms().menuEntries[first].column, 19);
  EXPECT_EQ(ed().requests.needPresent, 0);
  EXPECT_EQ(moveTo(18 * 8 + 11, 3 * ch + 2), PassFlow::Restart);  // 9 pixels in all
  EXPECT_EQ(ms().menuEntries[first].column, 20);
  EXPECT_EQ(ed().input.anchorScreenX, 18 * 8 + 10);
  EXPECT_EQ(ed().requests.needPresent, 1);
  // Truncation toward zero: 7 pixels back is no move, 9 back is one column.
  EXPECT_EQ(moveTo(18 * 8 + 3, 3 * ch + 2), PassFlow::Restart);
  EXPECT_EQ(ms().menuEntries[first].column, 20);
  EXPECT_EQ(moveTo(18 * 8 + 1, 3 * ch + 2 + 2 * ch), PassFlow::Restart);
  EXPECT_EQ(ms().menuEntries[first].column, 19);
  EXPECT_EQ(ms().menuEntries[first].row, 6);
  EXPECT_EQ(ms().menuEntries[first + 2].row, 8);
  EXPECT_EQ(ms().menuEntries[first + 2].column, 19);
}

TEST_F(MenuScreen, DragIsClampedAtTheScreenEdges) {
  openMenu(ed(), 21);
  const int first = firstOf(21);
  const int ch = ed().cellHeight;
  const int columns = ed().screen.columns, rows = ed().screen.rows;
  pressRight(18 * 8 + 2, 3 * ch + 2);
  moveTo(-4000, -4000);
  EXPECT_EQ(ms().menuEntries[first].column, 1);
  EXPECT_EQ(ms().menuEntries[first].row, 1);
  EXPECT_EQ(ed().input.anchorScreenX, 18 * 8 + 2 - 18 * 8);
  EXPECT_EQ(ed().input.anchorScreenY, 3 * ch + 2 - 3 * ch);
  moveTo(9000, 9000);
  EXPECT_EQ(ms().menuEntries[first].column + 16, columns) << "the last column stays free";
  EXPECT_EQ(ms().menuEntries[first + 2].row + 1, rows) << "the last row stays free";
  EXPECT_EQ(ms().menuEntries[first].row + 3, rows);
  // Letting go ends the drag; the bar cannot be dragged.
  ed().input.mouseButtons = 0;
  EXPECT_EQ(moveTo(0, 0), PassFlow::Next);
  EXPECT_EQ(ms().dragMenu, 0);
  ed().input.mouseScreenX = 10;
  ed().input.mouseScreenY = ch + 2;
  ed().input.mouseButtons = 2;
  ed().input.rightClick = 2;
  EXPECT_EQ(handleMenuDrag(ed()), PassFlow::Next);
  EXPECT_EQ(ms().dragMenu, 0);
  EXPECT_EQ(ms().menuEntries[0].column, 2);
}

}  // namespace
