#include "ui/dispatch.h"

#include "support/editor_fixture.h"
#include "support/tool_helpers.h"

namespace {

using Dispatch = EditorFixture;

TEST_F(Dispatch, QuitEndsAtOnceWithoutWriting) {
  start();
  run(1);
  ed().model.vertexCount = 3;  // unsaved change
  EXPECT_EQ(runCommand(ed(), 0), PassFlow::EndPass);
  EXPECT_TRUE(ed().requests.quit);
  EXPECT_FALSE(run(1));
  for (const auto& f : std::filesystem::directory_iterator(dir_))
    EXPECT_EQ(f.path().filename(), "KOVRIN.INI");
}

TEST_F(Dispatch, ViewPresetsRenderAndEndThePassAlsoWithTheViewLocked) {
  start();
  run(1);
  ed().viewFlags |= kLockView;
  for (int code = 5; code <= 10; ++code) {
    ed().requests.needRender = 0;
    EXPECT_EQ(runCommand(ed(), code), PassFlow::EndPass) << code;
    EXPECT_EQ(ed().requests.needRender, 1) << code;
  }
  runCommand(ed(), 7);  // Top view
  run(1);
  EXPECT_EQ(ed().fields.displayValues[kFieldCXY], 0);
  EXPECT_EQ(ed().fields.displayValues[kFieldCYZ], 180);
  runCommand(ed(), 10);  // Right side view
  run(1);
  EXPECT_EQ(ed().fields.displayValues[kFieldCXY], 270);
  EXPECT_EQ(ed().fields.displayValues[kFieldCYZ], 270);
}

TEST_F(Dispatch, UnusedCodesOnlyRedraw) {
  start();
  run(1);
  const uint32_t flags = ed().viewFlags;
  for (int code : {30, 39, -1, 200}) {
    ed().requests = LoopRequests{};
    EXPECT_EQ(runCommand(ed(), code), PassFlow::ToTools) << code;
    EXPECT_EQ(ed().requests.needPresent, 1);
    EXPECT_EQ(ed().requests.needRender, 0);
    EXPECT_EQ(ed().requests.normalsDirty, 0);
    EXPECT_FALSE(ed().requests.quit);
  }
  EXPECT_EQ(ed().viewFlags, flags);
  EXPECT_EQ(ed().model.vertexCount, 9);
}

TEST_F(Dispatch, CloseGoesOnToTheTools) {
  start();
  run(1);
  ed().menus.invokingMenu = 7;
  ed().requests = LoopRequests{};
  EXPECT_EQ(runCommand(ed(), 4), PassFlow::ToTools);
  EXPECT_EQ(ed().requests.needPresent, 1);
}

}  // namespace
