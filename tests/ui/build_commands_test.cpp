#include "model/create.h"
#include "support/editor_fixture.h"
#include "support/model_invariants.h"
#include "ui/commands.h"

namespace {

struct BuildCommands : EditorFixture {
  void SetUp() override {
    EditorFixture::SetUp();
    start();
    ed().requests = LoopRequests{};
  }
  PassFlow command(Action code, int menu = 0) {
    ed().menus.invokingMenu = static_cast<uint8_t>(menu);
    return runBuildCommand(ed(), code);
  }
};

TEST_F(BuildCommands, CreateUsesTheInvokingMenuItsPartGroupAndTheCurrentColour) {
  ed().menus.menuPartGroup[kMenuCreatePrimitive] = 42;
  ed().menus.menuPartGroup[2] = 7;  // another menu's group is not used
  ed().currentColor = 0x03E0;
  ed().fields.floatFields[kSize] = 4.0f;
  EXPECT_EQ(command(Action::Create, kMenuNewCube), PassFlow::EndPass);
  EXPECT_EQ(ed().requests.normalsDirty, 1);
  Model& m = ed().model;
  ASSERT_EQ(m.triangleCount, 6 + 12);
  for (int32_t t = 6; t < m.triangleCount; ++t) {
    EXPECT_EQ(m.triFlags[t], 42);
    EXPECT_EQ(m.triColor[t], 0x03E0);
  }
  ed().requests = LoopRequests{};
  EXPECT_EQ(command(Action::Create, kMenuNewVertex), PassFlow::EndPass);
  EXPECT_EQ(ed().requests.needRender, 1);
  EXPECT_EQ(ed().requests.normalsDirty, 0);
  EXPECT_EQ(m.vertexCount, 9 + 8 + 1);
  EXPECT_TRUE(modelIsSound(m));
}

TEST_F(BuildCommands, ToolStartsContinueToTheTools) {
  ed().tools.pickSlots = {3, 4, 5};
  ed().tools.pickCount = 2;
  EXPECT_EQ(command(Action::ManualTriangle, 23), PassFlow::ToTools);
  EXPECT_EQ(ed().tools.tool, kToolManualTriangle);
  EXPECT_EQ(ed().tools.pickSlots[2], -1);
  EXPECT_EQ(ed().tools.pickCount, 0);
  EXPECT_EQ(ed().requests.needPresent, 1);
  EXPECT_EQ(command(Action::AutoTriangle, 23), PassFlow::ToTools);
  EXPECT_EQ(ed().tools.tool, kToolAutoTriangle);

  platform_.sleepMs(2500);
  ed().tools.fpsFrames = 12;
  EXPECT_EQ(command(Action::Benchmark, 23), PassFlow::EndPass);
  EXPECT_EQ(ed().tools.tool, kToolBenchmark);
  EXPECT_EQ(ed().tools.fpsStart, platform_.seconds());
  EXPECT_GT(ed().tools.fpsStart, 0.0);
  EXPECT_EQ(ed().tools.fpsFrames, 0.0);
  EXPECT_EQ(ed().requests.needRender, 1);
}

TEST_F(BuildCommands, DeletingAndClearingEndThePassWithTheirMessages) {
  Model& m = ed().model;
  EXPECT_EQ(command(Action::DeleteLastVertex, 23), PassFlow::EndPass);
  EXPECT_EQ(ed().requests.statusMessage, kMsgDeleted);
  EXPECT_EQ(ed().requests.needRender, 1);
  EXPECT_EQ(m.vertexCount, 8);

  ed().requests = LoopRequests{};
  ed().tools.pickSlots[2] = 4;
  EXPECT_EQ(command(Action::DeleteVertex, 25), PassFlow::EndPass);
  EXPECT_EQ(ed().requests.normalsDirty, 1);
  EXPECT_EQ(m.triangleCount, 2);
  EXPECT_EQ(ed().tools.pickSlots[2], -1);

  ed().requests = LoopRequests{};
  EXPECT_EQ(command(Action::DeleteVertex, 25), PassFlow::EndPass);  // no pick left: nothing
  EXPECT_EQ(ed().requests.normalsDirty, 0);
  EXPECT_EQ(ed().requests.statusMessage, 0);
  EXPECT_EQ(m.vertexCount, 7);

  EXPECT_EQ(command(Action::New, 1), PassFlow::EndPass);
  EXPECT_EQ(ed().requests.statusMessage, kMsgModelCleared);
  EXPECT_EQ(ed().requests.normalsDirty, 1);
  ed().requests = LoopRequests{};
  EXPECT_EQ(command(Action::DeleteLastVertex, 23), PassFlow::EndPass);
  EXPECT_EQ(ed().requests.statusMessage, 0);
  EXPECT_EQ(ed().requests.needRender, 0);
  EXPECT_TRUE(modelIsSound(m));
}

TEST_F(BuildCommands, TheDrillConfirmNeedsTrianglesAndTheDrillMenu) {
  Model& m = ed().model;
  for (int32_t v = 0; v < m.vertexCount; ++v) m.vertexProj[v] = Vec3{0, 0, 10};
  ed().fields.displayValues[kFieldScreenX] = ed().camera.viewCenterX;
  ed().fields.displayValues[kFieldScreenY] = ed().camera.viewCenterY;
  // The confirm of another menu is not the drill.
  EXPECT_EQ(command(Action::Confirm, 11), PassFlow::ToTools);
  EXPECT_EQ(m.triangleCount, 6);
  EXPECT_EQ(command(Action::Confirm, 24), PassFlow::EndPass);
  EXPECT_EQ(ed().requests.normalsDirty, 1);
  EXPECT_EQ(m.triangleCount, 0);
  ed().requests = LoopRequests{};
  EXPECT_EQ(command(Action::Confirm, 24), PassFlow::ToTools);
  EXPECT_EQ(ed().requests.needPresent, 1);
  EXPECT_EQ(ed().requests.normalsDirty, 0);
}

TEST_F(BuildCommands, TheThreeSlicesCutAlongTheirOwnAxes) {
  Model& m = ed().model;
  ed().fields.floatFields[kX1] = 0.4f;   // x = 0
  ed().fields.floatFields[kY1] = 50.0f;  // y = 50: above everything
  ed().fields.floatFields[kZ1] = 30.0f;  // z = 30: above every triangle
  EXPECT_EQ(command(Action::SliceXY, 26), PassFlow::EndPass);
  EXPECT_EQ(ed().requests.normalsDirty, 1);
  EXPECT_EQ(m.triangleCount, 6);
  EXPECT_EQ(command(Action::SliceXZ, 26), PassFlow::EndPass);
  EXPECT_EQ(m.triangleCount, 6);
  EXPECT_EQ(m.vertexCount, 9);
  // x = 0 passes through the apex and straddles the whole pyramid.
  EXPECT_EQ(command(Action::SliceYZ, 26), PassFlow::EndPass);
  EXPECT_GT(m.triangleCount, 6);
  EXPECT_GT(m.vertexCount, 9);
  EXPECT_TRUE(modelIsSound(m));
}

}  // namespace
