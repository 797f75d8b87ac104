#include "app/tools.h"

#include "support/editor_fixture.h"
#include "support/tool_helpers.h"
#include "ui/interface.h"
#include "ui/menu_lookup.h"

namespace {

// [SECTION] mouse reading

using MouseRead = EditorFixture;

TEST_F(MouseRead, ClickEdgesLastOneReadPerPress) {
  start();
  Editor& e = ed();
  platform_.setMouse(10, 20, 1);
  readMouse(e);
  EXPECT_EQ(e.input.leftClick, 1);
  EXPECT_EQ(e.input.rightClick, 0);
  readMouse(e);  // still held: no new click
  EXPECT_EQ(e.input.leftClick, 0);
  EXPECT_EQ(e.input.prevMouseButtons, 1);
  platform_.setMouse(10, 20, 3);  // right pressed while left held
  readMouse(e);
  EXPECT_EQ(e.input.leftClick, 0);
  EXPECT_EQ(e.input.rightClick, 2);
  platform_.setMouse(10, 20, 0);
  readMouse(e);
  platform_.setMouse(10, 20, 1);
  readMouse(e);
  EXPECT_EQ(e.input.leftClick, 1);
}

TEST_F(MouseRead, PointerOutsideReadsAsNoButtonsAtTheFrameOrigin) {
  start();
  Editor& e = ed();
  platform_.setMouse(300, 200, 1, 4);
  readMouse(e);
  platform_.setMouse(-1, -1, -1, 4);
  readMouse(e);
  EXPECT_EQ(e.input.mouseButtons, 0);
  EXPECT_EQ(e.input.mouseScreenX, -1);
  EXPECT_EQ(e.input.mouseX, 0);
  EXPECT_EQ(e.input.mouseY, 0);
  EXPECT_EQ(e.input.prevMouseX, 300);
  EXPECT_EQ(e.input.prevMouseY, 200);
  EXPECT_EQ(e.input.prevMouseWheel, 4);
  // Coming back in with the button down is a new click, since outside counted as up.
  platform_.setMouse(5, 5, 1);
  readMouse(e);
  EXPECT_EQ(e.input.leftClick, 1);
}

TEST_F(MouseRead, PositionIsClampedToTheFrame) {
  start();
  platform_.setMouse(900, 700, 0);
  readMouse(ed());
  EXPECT_EQ(ed().input.mouseX, 799);
  EXPECT_EQ(ed().input.mouseY, 599);
  EXPECT_EQ(ed().input.mouseScreenX, 900);
}

TEST_F(MouseRead, HalfDetailHalvesThePosition) {
  writeSettings("mode = 18\r\n''''\r\nrdet = 0\r\n''''\r\nmaxv = 100\r\n");
  start();
  platform_.setMouse(101, 51, 0);
  readMouse(ed());
  EXPECT_EQ(ed().input.mouseX, 50);
  EXPECT_EQ(ed().input.mouseY, 25);
  platform_.setMouse(639, 479, 0);
  readMouse(ed());
  EXPECT_EQ(ed().input.mouseX, 319);
  EXPECT_EQ(ed().input.mouseY, 239);
}

TEST_F(MouseRead, DoubleDetailDoublesThePosition) {
  writeSettings("mode = 18\r\n''''\r\nrdet = 2\r\n''''\r\nmaxv = 100\r\n");
  start();
  platform_.setMouse(300, 479, 0);
  readMouse(ed());
  EXPECT_EQ(ed().input.mouseX, 600);
  EXPECT_EQ(ed().input.mouseY, 958);
}

// [SECTION] function keys

using GlobalKeys = EditorFixture;

TEST_F(GlobalKeys, PanelKeysRequestAPresentAndGoOnToTheTools) {
  start();
  run(1);
  for (const std::string& k : {keys::kF2, keys::kF3, keys::kF4, keys::kF5}) {
    ed().requests.needPresent = 0;
    ed().input.keyPressed = k;
    EXPECT_EQ(handleGlobalKeys(ed()), PassFlow::ToTools);
    EXPECT_EQ(ed().requests.needPresent, 1);
  }
  ed().input.keyPressed = "x";
  EXPECT_EQ(handleGlobalKeys(ed()), PassFlow::Next);
}

TEST_F(GlobalKeys, F6InvertsEverySelectionBitAndRerenders) {
  start();
  run(1);
  ed().model.triFlags[1] = kSelectedBit | 3;
  platform_.pushKey(keys::kF6);
  run(1);
  EXPECT_EQ(ed().model.triFlags[0], kSelectedBit);
  EXPECT_EQ(ed().model.triFlags[1], 3);
  for (int t = 2; t < 6; ++t) EXPECT_EQ(ed().model.triFlags[t], kSelectedBit);
  EXPECT_EQ(ed().requests.needRender, 1);
  run(1);
  EXPECT_EQ(ed().fields.displayValues[kFieldSelectionTotal], 5);
}

// [SECTION] camera keys and mouselook (need the renderer's camera operations)

using CameraInput = EditorFixture;

TEST_F(CameraInput, ShiftChoosesTheLargeRotationStep) {
  start();
  run(1);
  float before = ed().camera.cameraXY;
  platform_.pushKey(keys::kLeft);
  run(1);
  EXPECT_NEAR(angleDelta(ed().camera.cameraXY, before), -kPi / 90, 1e-5);
  before = ed().camera.cameraXY;
  platform_.setKeyHeld(kScanRightShift, true);
  platform_.pushKey(keys::kLeft);
  run(1);
  EXPECT_NEAR(angleDelta(ed().camera.cameraXY, before), -kPi / 8, 1e-5);
  EXPECT_EQ(ed().requests.needRender, 1);
}

TEST_F(CameraInput, LockViewAndMenuFocusKeepTheCameraStill) {
  start();
  run(1);
  const CameraSnapshot before = takeSnapshot(ed().camera);
  ed().viewFlags |= kLockView;
  for (const std::string& k : {keys::kUp, keys::kLeft, keys::kPgUp, keys::kHome})
    platform_.pushKey(k);
  runUntilKeysDone();
  platform_.setMouse(100, 100, 1);
  run(1);
  platform_.setMouse(150, 130, 1);
  run(1);
  platform_.setMouse(150, 130, 0);
  run(1);
  EXPECT_EQ(ed().camera.cameraXY, before.cameraXY);
  EXPECT_EQ(ed().camera.cameraYZ, before.cameraYZ);
  EXPECT_EQ(ed().camera.cameraDistance, before.cameraDistance);
  EXPECT_EQ(ed().camera.cameraZoom, before.cameraZoom);

  ed().viewFlags &= ~static_cast<uint32_t>(kLockView);
  ed().menus.activeMenu = 5;  // a window has the keyboard: arrows belong to the menus
  ed().input.keyPressed = keys::kLeft;
  EXPECT_EQ(handleCameraKeys(ed()), PassFlow::Next);
  EXPECT_EQ(ed().camera.cameraXY, before.cameraXY);

  ed().menus.activeMenu = -1;
  ed().input.keyPressed = keys::kPgUp;
  EXPECT_EQ(handleCameraKeys(ed()), PassFlow::ToTools);
  EXPECT_FLOAT_EQ(ed().camera.cameraDistance, before.cameraDistance * 0.9f);
}

TEST_F(CameraInput, BothButtonsPanOnly) {
  start();
  platform_.setMouse(100, 100, 0);
  run(2);
  const CameraSnapshot before = takeSnapshot(ed().camera);
  const int cx = ed().camera.viewCenterX, cy = ed().camera.viewCenterY;
  platform_.setMouse(100, 100, 3);
  run(1);
  platform_.setMouse(120, 90, 3);
  run(1);
  EXPECT_NE(ed().camera.viewCenterX * 1000 + ed().camera.viewCenterY, cx * 1000 + cy);
  EXPECT_EQ(ed().camera.cameraXY, before.cameraXY);
  EXPECT_EQ(ed().camera.cameraYZ, before.cameraYZ);
  EXPECT_EQ(ed().camera.cameraDistance, before.cameraDistance);
  EXPECT_EQ(ed().camera.cameraZoom, before.cameraZoom);
  // Letting go of the right button turns the drag into an orbit from there on.
  platform_.setMouse(140, 90, 1);
  run(1);
  EXPECT_NE(ed().camera.cameraXY, before.cameraXY);
}

// [SECTION] tools per pass

using ToolPasses = EditorFixture;

TEST_F(ToolPasses, SelectionDragKeepsTheAnchorsAndMarksOnRelease) {
  start();
  putEntry(ed().menus, 0, kMenuSelection);
  ed().viewFlags |= kSelectTool;
  platform_.setMouse(100, 100, 0);
  run(2);
  ed().requests.needPresent = 1;
  run(1);
  ASSERT_EQ(ed().tools.tool, kToolSelection);
  platform_.setMouse(100, 100, 1);
  run(1);
  EXPECT_EQ(ed().tools.selectDragging, 1);
  platform_.setMouse(200, 150, 1);
  run(1);
  EXPECT_EQ(ed().input.anchorX, 100);  // the band stretches from the press
  run(1);                              // presents the band
  EXPECT_EQ(platform_.rgbAt(150, 100), 0xFF00FFu);
  EXPECT_EQ(platform_.rgbAt(200, 125), 0xFF00FFu);
  EXPECT_EQ(platform_.rgbAt(100, 125), 0xFF00FFu);
  EXPECT_EQ(ed().requests.needRender, 0);
  platform_.setMouse(200, 150, 0);
  run(1);
  EXPECT_EQ(ed().requests.needRender, 1);  // the release marked the rectangle
  EXPECT_EQ(ed().tools.selectDragging, 0);
  EXPECT_EQ(ed().input.anchorX, 200);
}

TEST_F(ToolPasses, SelectionToolFollowsItsMenuAndOption) {
  start();
  run(1);
  ed().viewFlags |= kSelectTool;
  ed().requests.needPresent = 1;
  run(1);
  EXPECT_EQ(ed().tools.tool, kToolMouselook);  // menu 10 not shown
  putEntry(ed().menus, 0, kMenuSelection);
  ed().requests.needPresent = 1;
  run(1);
  EXPECT_EQ(ed().tools.tool, kToolSelection);
  ed().menus.menuEntryCount = 0;  // the menu closed
  ed().requests.needPresent = 1;
  run(1);
  EXPECT_EQ(ed().tools.tool, kToolMouselook);
  ed().tools.tool = kToolAutoTriangle;  // another tool keeps its place
  putEntry(ed().menus, 0, kMenuSelection);
  ed().requests.needPresent = 1;
  run(1);
  EXPECT_EQ(ed().tools.tool, kToolAutoTriangle);
}

TEST_F(ToolPasses, VertexEditEndsOnAClickOrWhenItsEntryLeaves) {
  start();
  run(1);
  putEntry(ed().menus, kLabelVertSelectr, 25);
  ed().viewFlags |= kVertSelector;
  ed().tools.tool = kToolVertexEdit;
  platform_.setMouse(300, 300, 0);
  run(1);
  EXPECT_EQ(ed().tools.tool, kToolVertexEdit);
  EXPECT_EQ(ed().requests.needPresent, 1);
  platform_.setMouse(300, 300, 2);
  run(1);
  EXPECT_EQ(ed().tools.tool, kToolMouselook);
  EXPECT_FALSE(flagOn(ed(), kVertSelector));

  ed().viewFlags |= kVertSelector;
  ed().tools.tool = kToolVertexEdit;
  ed().menus.menuEntryCount = 0;
  platform_.setMouse(310, 300, 2);  // moving with the button held: no click
  run(1);
  EXPECT_EQ(ed().tools.tool, kToolMouselook);
  EXPECT_FALSE(flagOn(ed(), kVertSelector));
}

TEST_F(ToolPasses, MousePlotSendsTheClickToItsMenuAndEnds) {
  start();
  run(1);
  putEntry(ed().menus, kLabelMousePlot, 7);
  ed().viewFlags |= kMousePlot;
  ed().tools.tool = kToolMousePlot;
  ed().tools.plotMenu = 7;
  platform_.setMouse(300, 300, 1);
  run(1);
  EXPECT_EQ(ed().menus.activeMenu, 7);
  EXPECT_EQ(ed().tools.tool, kToolMousePlot);
  platform_.setMouse(300, 300, 0);
  run(1);
  platform_.setMouse(300, 300, 2);
  run(1);
  EXPECT_EQ(ed().tools.tool, kToolMouselook);

  ed().tools.tool = kToolMousePlot;
  ed().viewFlags &= ~static_cast<uint32_t>(kMousePlot);
  platform_.setMouse(320, 300, 0);
  run(1);
  EXPECT_EQ(ed().tools.tool, kToolMouselook);

  ed().viewFlags |= kMousePlot;
  ed().tools.tool = kToolMousePlot;
  ed().menus.menuEntryCount = 0;
  platform_.setMouse(330, 300, 0);
  run(1);
  EXPECT_EQ(ed().tools.tool, kToolMouselook);
}

TEST_F(ToolPasses, TriangleToolsEndOnARightClick) {
  start();
  run(1);
  for (const uint8_t tool : {kToolAutoTriangle, kToolManualTriangle}) {
    ed().tools.tool = tool;
    platform_.setMouse(300, 300, 0);
    run(1);
    platform_.setMouse(310, 300, 0);
    run(1);
    EXPECT_EQ(ed().tools.tool, tool);
    EXPECT_EQ(ed().requests.needPresent, 1);
    platform_.setMouse(310, 300, 2);
    run(1);
    EXPECT_EQ(ed().tools.tool, kToolMouselook);
    platform_.setMouse(310, 300, 0);
    run(1);
  }
}

// [SECTION] present work and markers

using ToolPresent = EditorFixture;

TEST_F(ToolPresent, AutotriangleFindsTheThreeNearestInFront) {
  start();
  run(1);
  Model& m = ed().model;
  m.vertexCount = 6;
  m.vertexProj[0] = {3, 4, 10};       // 25
  m.vertexProj[1] = {0, 0, 10};       // 0
  m.vertexProj[2] = {-3, -4, 10};     // 25, after vertex 0 on the tie
  m.vertexProj[3] = {0.4f, 0, 0.5f};  // behind the near plane
  m.vertexProj[4] = {0, 1, 2.0e6f};   // beyond drawdepth
  m.vertexProj[5] = {2.5f, 0, 10};    // rounds to 2 (halves to even): 4
  ed().input.mouseX = ed().camera.viewCenterX;
  ed().input.mouseY = ed().camera.viewCenterY;
  ed().tools.tool = kToolAutoTriangle;
  m.vertexCount = 3;
  toolPresentWork(ed());
  EXPECT_EQ(ed().tools.pickSlots, (std::array<int32_t, 3>{1, 0, 2}));  // tie: lower first
  m.vertexCount = 6;
  toolPresentWork(ed());
  // Vertex 5 pushes vertex 0 down, and a pushed-down pair does not pass an equal one.
  EXPECT_EQ(ed().tools.pickSlots, (std::array<int32_t, 3>{1, 5, 2}));
  EXPECT_EQ(ed().tools.pickDist, (std::array<float, 3>{0, 4, 25}));

  ed().input.mouseX += 1;
  toolPresentWork(ed());
  // Distances from (1, 0): v0 (2,4)=20, v1 1, v2 (-4,-4)=32, v5 (3.5-1=2.5 -> 2)=4.
  EXPECT_EQ(ed().tools.pickSlots, (std::array<int32_t, 3>{1, 5, 0}));
  EXPECT_EQ(ed().tools.pickDist, (std::array<float, 3>{1, 4, 20}));
}

TEST_F(ToolPresent, AutotriangleWithEverythingBehindHasNoSlots) {
  start();
  run(1);
  Model& m = ed().model;
  for (int i = 0; i < m.vertexCount; ++i) m.vertexProj[i] = {0, 0, 0.5f};
  ed().tools.pickSlots = {1, 2, 3};
  ed().tools.tool = kToolAutoTriangle;
  toolPresentWork(ed());
  EXPECT_EQ(ed().tools.pickSlots, (std::array<int32_t, 3>{-1, -1, -1}));
}

TEST_F(ToolPresent, VertexEditCopiesThePickedVertexIntoThePointOne) {
  start();
  run(1);
  ed().tools.tool = kToolVertexEdit;
  for (int i = 0; i < ed().model.vertexCount; ++i) ed().model.vertexProj[i] = {0, 0, 0.5f};
  ed().tools.pickSlots[2] = 4;  // no vertex in front: the last pick stays
  toolPresentWork(ed());
  ASSERT_EQ(ed().tools.pickSlots[2], 4);
  const Vec3 v = ed().model.vertexPos[4];
  EXPECT_EQ(ed().fields.floatFields[kX1], v.x);
  EXPECT_EQ(ed().fields.floatFields[kY1], v.y);
  EXPECT_EQ(ed().fields.floatFields[kZ1], v.z);

  ed().fields.floatFields[kX1] = 7.0f;
  ed().model.vertexCount = 0;  // empty model: the fields keep their values
  toolPresentWork(ed());
  EXPECT_EQ(ed().fields.floatFields[kX1], 7.0f);
}

TEST_F(ToolPresent, MousePlotFollowsThePointer) {
  start();
  run(1);
  ed().tools.tool = kToolMousePlot;
  ed().tools.plotTarget = -1;
  ed().input.mouseX = 123;
  ed().input.mouseY = 45;
  ed().fields.floatFields[kX1] = 9.0f;
  toolPresentWork(ed());
  EXPECT_EQ(ed().fields.displayValues[kFieldScreenX], 123);
  EXPECT_EQ(ed().fields.displayValues[kFieldScreenY], 45);
  EXPECT_EQ(ed().fields.floatFields[kX1], 9.0f);
}

TEST_F(ToolPresent, MarkerIsAFiveByFiveOutlineAroundTheRoundedPosition) {
  start();
  run(1);
  ed().model.vertexProj[0] = {10.5f, -20.5f, 5};  // frame (410, 354) after halves to even
  drawVertexMarker(ed(), 0, 0x00FF00);
  EXPECT_EQ(platform_.rgbAt(408, 352), 0x00FF00u);
  EXPECT_EQ(platform_.rgbAt(412, 356), 0x00FF00u);
  EXPECT_EQ(platform_.rgbAt(410, 352), 0x00FF00u);
  EXPECT_EQ(platform_.rgbAt(408, 354), 0x00FF00u);
  EXPECT_NE(platform_.rgbAt(410, 354), 0x00FF00u);  // hollow
  EXPECT_NE(platform_.rgbAt(407, 352), 0x00FF00u);
  EXPECT_NE(platform_.rgbAt(413, 356), 0x00FF00u);
  // No vertex, or a position far off the screen: nothing drawn, nothing hangs.
  ed().model.vertexProj[1] = {1.0e30f, -1.0e30f, 5};
  drawVertexMarker(ed(), 1, 0x0000FF);
  drawVertexMarker(ed(), -1, 0x0000FF);
  drawVertexMarker(ed(), ed().model.vertexCount, 0x0000FF);
}

TEST_F(ToolPresent, MarkerScalesToTheScreenAtHalfDetail) {
  writeSettings("mode = 18\r\n''''\r\nrdet = 0\r\n''''\r\nmaxv = 100\r\n");
  start();
  run(1);
  ed().model.vertexProj[0] = {10, -20, 5};  // frame (170, 130), screen (340, 260)
  drawVertexMarker(ed(), 0, 0xFF00FF);
  EXPECT_EQ(platform_.rgbAt(338, 258), 0xFF00FFu);
  EXPECT_EQ(platform_.rgbAt(342, 262), 0xFF00FFu);
  EXPECT_NE(platform_.rgbAt(168, 128), 0xFF00FFu);
}

TEST_F(ToolPresent, ManualTriangleMarksPointerAndHeldPicks) {
  start();
  run(1);
  Model& m = ed().model;
  m.vertexProj[0] = {-100, 0, 5};  // screen (300, 375)
  m.vertexProj[1] = {0, 0, 5};     // (400, 375)
  m.vertexProj[2] = {100, 0, 5};   // (500, 375)
  ed().tools.tool = kToolManualTriangle;
  ed().tools.pickSlots = {0, 1, 2};
  ed().tools.pickCount = 1;
  drawInterface(ed());
  EXPECT_EQ(platform_.rgbAt(498, 373), 0x00FF00u);
  EXPECT_EQ(platform_.rgbAt(298, 373), 0xFF00FFu);
  EXPECT_NE(platform_.rgbAt(398, 373), 0xFF00FFu);  // slot 1 only once two are held
}

}  // namespace
