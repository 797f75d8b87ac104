// The keys and mouse habits of other programs: wheel zoom, Esc, Ctrl shortcuts, and drags
// that start where the button went down.
#include <filesystem>

#include "app/tools.h"
#include "io/file_test_support.h"
#include "support/editor_fixture.h"
#include "support/tool_helpers.h"
#include "ui/menus.h"

namespace {

using KeysAndWheel = EditorFixture;

bool menuIsOpen(const MenuState& ms, int menu) {
  for (int i = 0; i < ms.menuEntryCount; ++i)
    if (ms.menuEntries[i].menu == menu) return true;
  return false;
}

// Zoom after End or Home pressed `times` times from `zoom`, as the camera keys do it.
float zoomAfter(float zoom, float factor, int times) {
  Camera c;
  c.cameraZoom = zoom;
  for (int i = 0; i < times; ++i) {
    scaleZoom(c, factor);
    updateCamera(c, takeSnapshot(c));
  }
  return c.cameraZoom;
}

TEST_F(KeysAndWheel, EachWheelNotchZoomsAsEndOrHomeWhateverHasTheFocus) {
  start();
  struct Step {
    int wheel;        // wheel position reported (-1 with the pointer outside)
    bool inside;      // pointer over the window
    int focusedMenu;  // activeMenu during the pass
    bool locked;      // "[_] locK view"
    float factor;     // End 1.1 or Home 0.9
    int notches;      // how many presses it equals
  };
  const Step steps[] = {
      {1, true, -1, false, 1.1f, 1},   {3, true, 0, false, 1.1f, 2},  // the menu bar has the keys
      {2, true, 22, false, 0.9f, 1},   {-2, true, -1, false, 0.9f, 4},
      {-1, false, -1, false, 1.0f, 0}, {-2, true, -1, false, 1.0f, 0},  // out and back: no notch
      {0, true, -1, true, 1.0f, 0},    {0, true, -1, false, 1.0f, 0},   // locked: turned away
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(::testing::Message() << "wheel " << s.wheel << " menu " << s.focusedMenu);
    if (s.focusedMenu > 0) openMenu(ed(), s.focusedMenu);
    ed().menus.activeMenu = static_cast<int16_t>(s.focusedMenu);
    if (s.locked) ed().viewFlags |= kLockView;
    const float before = ed().camera.cameraZoom;
    ed().requests.needRender = 0;
    platform_.setMouse(s.inside ? 200 : -1, s.inside ? 200 : -1, s.inside ? 0 : -1, s.wheel);
    run(1);
    EXPECT_EQ(ed().camera.cameraZoom, zoomAfter(before, s.factor, s.notches));
    if (s.notches > 0) {
      EXPECT_EQ(ed().requests.needRender, 1);
    }
    ed().viewFlags &= ~static_cast<uint32_t>(kLockView);
    if (s.focusedMenu > 0) closeMenu(ed(), s.focusedMenu);
  }
}

void expectSameCamera(const Camera& got, const Camera& want) {
  EXPECT_EQ(got.cameraXY, want.cameraXY);
  EXPECT_EQ(got.cameraYZ, want.cameraYZ);
  EXPECT_EQ(got.cameraZoom, want.cameraZoom);
  EXPECT_EQ(got.cameraDistance, want.cameraDistance);
  EXPECT_EQ(got.viewCenterX, want.viewCenterX);
  EXPECT_EQ(got.viewCenterY, want.viewCenterY);
}

// A move made just before the press is no part of the drag: each tool gesture, pressed far
// from where the last pass left the pointer, moves the camera only by what follows the press.
TEST_F(KeysAndWheel, DragsMeasureFromWhereTheButtonWentDown) {
  start();
  for (const int buttons : {1, 2, 3}) {
    SCOPED_TRACE(buttons);
    platform_.setMouse(100, 100, 0);
    run(2);
    const Camera rest = ed().camera;
    // Pressed at (400, 300) within the pass that moved there (the platform reports no press
    // position): nothing moves.
    platform_.setMouse(400, 300, buttons);
    run(1);
    expectSameCamera(ed().camera, rest);
    // Pointer read at (430, 310) with the press reported at (410, 305): 20 and 5 from the
    // press count on this pass, the rest on the next.
    platform_.setMouse(100, 100, 0);
    run(2);
    const Camera before = ed().camera;
    platform_.setMouse(430, 310, buttons, 0, 410, 305);
    run(1);
    Camera want = before;
    if (buttons == 1)
      orbitDrag(want, takeSnapshot(before), 430, 310, 410, 305, 800, 600);
    else if (buttons == 2)
      dollyZoomDrag(want, takeSnapshot(before), 430, 310, 410, 305, 600);
    else
      pan(want, 20, 5);
    updateCamera(want, takeSnapshot(before));
    expectSameCamera(ed().camera, want);
    platform_.setMouse(430, 310, 0);
    run(1);
  }
}

TEST_F(KeysAndWheel, EscClosesTheFocusedMenuAndStillCancelsThePrompt) {
  start();
  platform_.pushKey(keys::kF4);   // opens "Actions"
  platform_.pushKey(keys::kEsc);  // no menu has the focus: nothing to close
  runUntilKeysDone();
  EXPECT_TRUE(menuIsOpen(ed().menus, 22));
  platform_.pushKey(keys::kF4);  // now with the focus
  platform_.pushKey(keys::kEsc);
  runUntilKeysDone();
  EXPECT_FALSE(menuIsOpen(ed().menus, 22));
  EXPECT_EQ(ed().menus.activeMenu, -1);
  // Ctrl+O asks for a name; Esc there cancels the Open.
  platform_.pushKey(keys::ctrlKey('o'));
  platform_.typeText("x.rq");
  platform_.pushKey(keys::kEsc);
  runUntilKeysDone();
  EXPECT_EQ(ed().currentFile, "default.rq");
  EXPECT_FALSE(std::filesystem::exists("x.rq"));
}

TEST_F(KeysAndWheel, CtrlShortcutsRunTheFileCommandsWhateverHasTheFocus) {
  start();
  platform_.pushKey(keys::kF3);  // a menu has the keys: "s" alone would be its hot key
  platform_.pushKey(keys::ctrlKey('s'));
  runUntilKeysDone();
  EXPECT_TRUE(std::filesystem::exists("default.rq"));
  EXPECT_EQ(ed().requests.statusMessage, 0);  // shown once by the present
  platform_.pushKey(keys::ctrlKey('s', true));
  platform_.typeText("b.rq");
  platform_.pushKey(keys::kEnter);
  runUntilKeysDone();
  EXPECT_EQ(ed().currentFile, "b.rq");
  EXPECT_EQ(filetest::readFile("b.rq"), filetest::readFile("default.rq"));
  ed().model.vertexCount = 0;
  platform_.pushKey(keys::ctrlKey('o'));
  platform_.typeText("default.rq");
  platform_.pushKey(keys::kEnter);
  runUntilKeysDone();
  EXPECT_EQ(ed().currentFile, "default.rq");
  EXPECT_EQ(ed().model.vertexCount, 9);
  // Other Ctrl letters do nothing of the kind.
  std::filesystem::remove("default.rq");
  platform_.pushKey(keys::ctrlKey('d'));
  runUntilKeysDone();
  EXPECT_FALSE(std::filesystem::exists("default.rq"));
}

}  // namespace
