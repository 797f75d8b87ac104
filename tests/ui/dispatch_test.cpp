#include "ui/dispatch.h"

#include "support/editor_fixture.h"
#include "support/tool_helpers.h"

namespace {

using Dispatch = EditorFixture;

TEST_F(Dispatch, QuitEndsAtOnceWithoutWriting) {
  start();
  run(1);
  ed().model.vertexCount = 3;  // unsaved change
  EXPECT_EQ(runCommand(ed(), Action::Quit), PassFlow::EndPass);
  EXPECT_TRUE(ed().requests.quit);
  EXPECT_FALSE(run(1));
  for (const auto& f : std::filesystem::directory_iterator(dir_))
    EXPECT_EQ(f.path().filename(), "KOVRIN.INI");
}

TEST_F(Dispatch, ViewPresetsRenderAndEndThePassAlsoWithTheViewLocked) {
  start();
  run(1);
  ed().viewFlags |= kLockView;
  for (const Action a : {Action::FrontView, Action::BackView, Action::TopView, Action::BottomView,
                         Action::LeftView, Action::RightView}) {
    ed().requests.needRender = 0;
    EXPECT_EQ(runCommand(ed(), a), PassFlow::EndPass) << int{actionCode(a)};
    EXPECT_EQ(ed().requests.needRender, 1) << int{actionCode(a)};
  }
  runCommand(ed(), Action::TopView);  // Top view
  run(1);
  EXPECT_EQ(ed().fields.displayValues[kFieldCXY], 0);
  EXPECT_EQ(ed().fields.displayValues[kFieldCYZ], 180);
  runCommand(ed(), Action::RightView);  // Right side view
  run(1);
  EXPECT_EQ(ed().fields.displayValues[kFieldCXY], 270);
  EXPECT_EQ(ed().fields.displayValues[kFieldCYZ], 270);
}

TEST_F(Dispatch, UnusedCodesOnlyRedraw) {
  start();
  run(1);
  const uint32_t flags = ed().viewFlags;
  for (int code : {30, 39, 255, 200}) {
    ed().requests = LoopRequests{};
    EXPECT_EQ(runCommand(ed(), static_cast<Action>(code)), PassFlow::ToTools) << code;
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
  EXPECT_EQ(runCommand(ed(), Action::CloseMenu), PassFlow::ToTools);
  EXPECT_EQ(ed().requests.needPresent, 1);
}

}  // namespace
