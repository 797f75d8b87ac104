#include <string>

#include "support/editor_fixture.h"
#include "ui/menu_tables.h"
#include "ui/menus.h"

namespace {

class MenuNavigation : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    start();
    run(1);
  }
  MenuState& ms() { return ed().menus; }
  bool isOpen(int menu) {
    for (int i = 0; i < ms().menuEntryCount; ++i)
      if (ms().menuEntries[i].menu == menu) return true;
    return false;
  }
  const MenuEntry& entry(int i) { return ms().menuEntries[i]; }
  int highlightedLabel() { return ms().activeEntry < 0 ? -1 : entry(ms().activeEntry).label; }
  // One key through a whole pass of the loop.
  void press(const std::string& key) {
    platform_.pushKey(key);
    run(1);
  }
  // Gives the bar the focus the way the loop does, then opens a menu from it.
  void openFocused(int menu) {
    ms().activeMenu = 0;
    openMenu(ed(), menu);
  }
};

TEST_F(MenuNavigation, AltDownDownEnterWalksIntoTheFileMenu) {
  platform_.setKeyHeld(kScanAlt, true);
  run(1);
  EXPECT_EQ(ms().activeMenu, 0);
  press(keys::kDown);
  ASSERT_TRUE(isOpen(1));
  EXPECT_EQ(ms().activeMenu, 1);
  run(1);  // the present highlights the first entry
  platform_.lock();
  drawMenus(ed());
  platform_.unlock();
  EXPECT_EQ(highlightedLabel(), 14);
  press(keys::kDown);
  EXPECT_EQ(highlightedLabel(), 80);  // " New"
  press(keys::kEnter);
  EXPECT_EQ(ms().invokingMenu, 1);
}

TEST_F(MenuNavigation, BarLeftRightWrapAndEnterOrHotKeyActivates) {
  platform_.setKeyHeld(kScanAlt, true);
  run(1);
  press(keys::kLeft);
  EXPECT_EQ(ms().activeEntry, 3);
  press(keys::kRight);
  EXPECT_EQ(ms().activeEntry, 0);
  press(keys::kRight);
  press(keys::kRight);
  EXPECT_EQ(ms().activeEntry, 2);
  press(keys::kDown);  // "  View"
  ASSERT_TRUE(isOpen(3));
  EXPECT_EQ(ms().activeMenu, 3);
  press(keys::kDown);  // "[_] show veRts"
  press(keys::kEnter);
  EXPECT_EQ(ed().viewFlags, 0x27u);
  EXPECT_EQ(ed().requests.needRender, 1) << "a re-render for the next pass";
  press("g");
  EXPECT_EQ(ed().viewFlags, 0x07u);
  press("G");  // hot keys are lower case
  press(" ");
  EXPECT_EQ(ed().viewFlags, 0x07u);
}

TEST_F(MenuNavigation, HotKeysNeedTheFocusAndMatchTheFirstEntry) {
  openMenu(ed(), 3);
  press("g");  // nothing has the focus
  EXPECT_EQ(ed().viewFlags, 0x26u);
  openMenu(ed(), 3);
  ms().activeEntry = -1;
  EXPECT_EQ(activateHotKey(ed(), "b"), PassFlow::EndPass);  // "[_] Backface"
  EXPECT_TRUE(flagOn(ed(), kBackfaceCulling));
  EXPECT_EQ(activateHotKey(ed(), "bb"), PassFlow::Next);
  EXPECT_EQ(activateHotKey(ed(), ""), PassFlow::Next);
  openMenu(ed(), 4);
  EXPECT_EQ(ms().activeMenu, 4) << "focus stays with the opener";
  EXPECT_EQ(activateHotKey(ed(), "k"), PassFlow::EndPass);  // "[_] locK view"
  EXPECT_TRUE(flagOn(ed(), kLockView));
  EXPECT_EQ(ms().invokingMenu, 4);
}

TEST_F(MenuNavigation, OpeningTwiceFocusesTheOpenMenu) {
  openMenu(ed(), 10);
  EXPECT_TRUE(isOpen(10));
  EXPECT_EQ(ms().activeMenu, -1) << "opened without focus when nothing had it";
  const int count = ms().menuEntryCount;
  openMenu(ed(), 10);
  EXPECT_EQ(ms().menuEntryCount, count);
  EXPECT_EQ(ms().activeMenu, 10);
  EXPECT_EQ(ms().activeEntry, 4);
  EXPECT_EQ(highlightedLabel(), 14);
}

TEST_F(MenuNavigation, MenusReplaceTheOneOnTheirAnchor) {
  openFocused(2);
  press("s");  // "Selection..."
  EXPECT_FALSE(isOpen(2));
  EXPECT_TRUE(isOpen(10));
  EXPECT_EQ(ms().activeMenu, 10);
  EXPECT_EQ(ms().invokingMenu, 2);

  openFocused(22);
  EXPECT_FALSE(isOpen(10));
  press("m");  // "Move selection" opens beside "Actions"
  EXPECT_TRUE(isOpen(22));
  EXPECT_TRUE(isOpen(11));
  EXPECT_EQ(ms().activeMenu, 11);
  press(keys::kTab);
  EXPECT_EQ(ms().activeMenu, 22);
  press("u");  // "dUplicate" takes the place of menu 11
  EXPECT_TRUE(isOpen(22));
  EXPECT_FALSE(isOpen(11));
  EXPECT_TRUE(isOpen(12));
  EXPECT_EQ(entry(ms().menuEntryCount - 1).column, 19);
}

TEST_F(MenuNavigation, DraggedWindowSurvivesAndTabVisitsByNumber) {
  openFocused(22);
  press("m");
  ASSERT_TRUE(isOpen(11));
  // Drag menu 11 five columns to the right by its first row (column 19, row 4).
  InputState& in = ed().input;
  in.mouseScreenX = 18 * 8 + 4;
  in.mouseScreenY = 3 * 16 + 4;
  in.mouseButtons = 2;
  in.rightClick = 2;
  EXPECT_EQ(handleMenuDrag(ed()), PassFlow::EndPass);
  EXPECT_EQ(ms().dragMenu, 11);
  in.rightClick = 0;
  in.anchorScreenX = in.mouseScreenX;
  in.anchorScreenY = in.mouseScreenY;
  in.mouseScreenX += 40;
  EXPECT_EQ(handleMenuDrag(ed()), PassFlow::Restart);
  in.mouseButtons = 0;
  EXPECT_EQ(handleMenuDrag(ed()), PassFlow::Next);
  EXPECT_EQ(ms().dragMenu, 0);

  openMenu(ed(), 12);  // at the anchor, which menu 11 has left
  EXPECT_TRUE(isOpen(11));
  EXPECT_TRUE(isOpen(12));
  ms().activeMenu = -1;
  ms().activeEntry = -1;
  press(keys::kTab);
  EXPECT_EQ(ms().activeMenu, 11);
  press(keys::kTab);
  EXPECT_EQ(ms().activeMenu, 12);
  press(keys::kTab);
  EXPECT_EQ(ms().activeMenu, 22);
  press(keys::kTab);
  EXPECT_EQ(ms().activeMenu, -1);
  EXPECT_EQ(ms().activeEntry, -1);
}

TEST_F(MenuNavigation, UpAndDownWrapInsideTheFocusedWindow) {
  openFocused(22);
  openMenu(ed(), 27);  // a later window in the list
  openMenu(ed(), 22);  // back to the first entry of "Actions"
  EXPECT_EQ(highlightedLabel(), 14);
  press(keys::kUp);
  EXPECT_EQ(highlightedLabel(), 18) << "wrapped to the last entry of Actions";
  EXPECT_EQ(entry(ms().activeEntry).menu, 22);
  press(keys::kDown);
  EXPECT_EQ(highlightedLabel(), 14);
  EXPECT_EQ(entry(ms().activeEntry).menu, 22);
}

TEST_F(MenuNavigation, CtrlF4ClosesTheFocusedWindowOnly) {
  openFocused(23);
  press("r");  // "dRill"
  ASSERT_TRUE(isOpen(24));
  press(keys::kCtrlF4);
  EXPECT_FALSE(isOpen(24));
  EXPECT_TRUE(isOpen(23));
  EXPECT_EQ(ms().activeMenu, -1);
  EXPECT_EQ(ms().activeEntry, -1);
  press(keys::kCtrlF4);  // nothing has the focus
  EXPECT_TRUE(isOpen(23));
}

TEST_F(MenuNavigation, ClosingAnEarlierMenuKeepsTheHighlight) {
  openFocused(22);
  press("m");
  press(keys::kDown);
  press(keys::kDown);
  ASSERT_EQ(highlightedLabel(), 94);
  const int before = ms().activeEntry;
  closeMenu(ed(), 22);
  EXPECT_EQ(ms().activeEntry, before - 15);
  EXPECT_EQ(highlightedLabel(), 94);
  EXPECT_EQ(ms().activeMenu, 11);
  EXPECT_EQ(entry(4).menu, 11) << "the survivors close the gap in order";
  EXPECT_EQ(entry(4).row, 4);
  closeMenu(ed(), 0);  // the bar is never removed
  EXPECT_EQ(ms().menuEntryCount, 4 + 7);
}

TEST_F(MenuNavigation, EveryMenuOpenAtOnceFillsTheListExactly) {
  for (int m = 1; m <= kMenuCount; ++m) {
    openMenu(ed(), m);
    // Move it off its anchor so the next menu does not replace it.
    for (int i = 0; i < ms().menuEntryCount; ++i)
      if (ms().menuEntries[i].menu == m) ms().menuEntries[i].column = static_cast<uint8_t>(40 + m);
  }
  EXPECT_EQ(ms().menuEntryCount, kMaxMenuEntries);
  openMenu(ed(), 8);
  EXPECT_EQ(ms().menuEntryCount, kMaxMenuEntries);
  EXPECT_EQ(ms().activeMenu, 8);
}

TEST_F(MenuNavigation, ActivationByKind) {
  openMenu(ed(), 25);
  const int vertSelectr = 5;
  ASSERT_EQ(entry(vertSelectr).label, 117);
  ed().requests = LoopRequests{};
  EXPECT_EQ(activateEntry(ed(), vertSelectr), PassFlow::EndPass);
  EXPECT_TRUE(flagOn(ed(), kVertSelector));
  EXPECT_EQ(ed().tools.tool, kToolVertexEdit);
  EXPECT_EQ(ed().requests.needRender, 1);
  EXPECT_EQ(ms().invokingMenu, 25);

  openMenu(ed(), 1);  // at column 2: menu 25 beside it stays
  ed().requests = LoopRequests{};
  const int caption = 4 + 8 + 9;  // "current totals"
  ASSERT_EQ(entry(caption).label, 9);
  EXPECT_EQ(activateEntry(ed(), caption), PassFlow::ToTools);
  EXPECT_EQ(ed().requests.needPresent, 1);
  EXPECT_EQ(ms().invokingMenu, 1);
  EXPECT_EQ(activateEntry(ed(), 999), PassFlow::Next);
}

TEST_F(MenuNavigation, AnyCheckBoxWithTheVertexSelectorOnGoesBackToVertexEdit) {
  openMenu(ed(), 25);  // "vert edIt": its toggle is entry 5
  ASSERT_EQ(entry(5).label, 117);
  activateEntry(ed(), 5);
  ASSERT_EQ(ed().tools.tool, kToolVertexEdit);
  // "Manual triangle" chosen from the menu: the selector's bit stays set.
  ed().tools.tool = kToolManualTriangle;
  openMenu(ed(), 3);  // "  View" beside it
  int grid = -1;
  for (int i = 0; i < ms().menuEntryCount; ++i)
    if (entry(i).label == 26) grid = i;  // "[_] show Grid"
  ASSERT_GE(grid, 0);
  activateEntry(ed(), grid);
  // The check box rule looks at bit 13 after every toggle, not only at its own box.
  EXPECT_EQ(ed().tools.tool, kToolVertexEdit);
  EXPECT_TRUE(flagOn(ed(), kVertSelector));
}

TEST_F(MenuNavigation, LeftClickActivatesAndMarksTheClick) {
  openMenu(ed(), 3);
  InputState& in = ed().input;
  in.leftClick = 1;
  in.mouseScreenX = 1 * 8 + 3;  // "[_] show Tris", row 6
  in.mouseScreenY = 5 * 16 + 2;
  EXPECT_EQ(handleMenuClick(ed()), PassFlow::EndPass);
  EXPECT_EQ(ms().menuClicked, 1);
  EXPECT_FALSE(flagOn(ed(), kShowTris));
  EXPECT_EQ(ms().activeMenu, -1) << "a click does not move the focus";
  ms().menuClicked = 0;
  in.mouseScreenX = 600;
  EXPECT_EQ(handleMenuClick(ed()), PassFlow::Next);
  EXPECT_EQ(ms().menuClicked, 0);
  in.leftClick = 0;  // held, not pressed
  in.mouseScreenX = 11;
  EXPECT_EQ(handleMenuClick(ed()), PassFlow::Next);
  EXPECT_FALSE(flagOn(ed(), kShowTris));
}

}  // namespace
