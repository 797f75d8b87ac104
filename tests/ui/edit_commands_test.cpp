#include <gtest/gtest.h>

#include "support/editor_fixture.h"
#include "support/menu_rows.h"
#include "ui/commands.h"
#include "ui/field_entry.h"

namespace {

constexpr uint8_t kSel = kSelectedBit;

// The default model is on screen after the first pass: six triangles over nine vertices.
class EditCommands : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    start();
    run(1);
  }
  PassFlow command(Action code, int menu) {
    ed().menus.invokingMenu = static_cast<uint8_t>(menu);
    return runEditCommand(ed(), code);
  }
  void clearRequests() { ed().requests = LoopRequests{}; }
};

TEST_F(EditCommands, SelectAllAndClearEndThePassWithARender) {
  EXPECT_EQ(command(Action::SelectEntireModel, 10), PassFlow::EndPass);
  EXPECT_EQ(ed().requests.needRender, 1);
  EXPECT_EQ(ed().fields.displayValues[kFieldSelectionTotal], 0);
  run(1);
  EXPECT_EQ(ed().fields.displayValues[kFieldSelectionTotal], 6);
  clearRequests();
  EXPECT_EQ(command(Action::ClearSelection, 10), PassFlow::EndPass);
  EXPECT_EQ(ed().requests.needRender, 1);
  run(1);
  EXPECT_EQ(ed().fields.displayValues[kFieldSelectionTotal], 0);
}

TEST_F(EditCommands, PartGroupStepsByTheHitSideAndWraps) {
  MenuState& ms = ed().menus;
  ms.hitSide = -1;
  EXPECT_EQ(command(Action::StepPartGroup, 20), PassFlow::ToTools);
  EXPECT_EQ(ms.menuPartGroup[20], 99);
  EXPECT_EQ(ed().requests.needPresent, 1);
  ms.hitSide = 1;
  command(Action::StepPartGroup, 20);
  EXPECT_EQ(ms.menuPartGroup[20], 0);
  command(Action::StepPartGroup, 15);
  EXPECT_EQ(ms.menuPartGroup[15], 1);
  EXPECT_EQ(ms.menuPartGroup[20], 0);
  // From the keyboard before any click the side is 0: the group stays.
  ms.hitSide = 0;
  command(Action::StepPartGroup, 22);
  EXPECT_EQ(ms.menuPartGroup[22], 0);
}

TEST_F(EditCommands, ReassignUsesTheActionsMenuGroupAndOnlyRedraws) {
  Model& m = ed().model;
  m.triFlags[0] = kSel | 2;
  m.triFlags[1] = 2;
  ed().menus.menuPartGroup[22] = 5;
  ed().menus.menuPartGroup[20] = 9;
  EXPECT_EQ(command(Action::ReassignTo, 22), PassFlow::ToTools);
  EXPECT_EQ(m.triFlags[0], 133);
  EXPECT_EQ(m.triFlags[1], 2);
  EXPECT_EQ(ed().requests.needPresent, 1);
  EXPECT_EQ(ed().requests.needRender, 0);
}

TEST_F(EditCommands, ChangeColorConfirmColoursTheSelection) {
  Model& m = ed().model;
  m.triFlags[3] = kSel;
  auto& dv = ed().fields.displayValues;
  dv[kFieldChangeRed] = 31;
  dv[kFieldDefaultGreen] = 31;  // the other colour menu's fields are not read
  EXPECT_EQ(command(Action::Confirm, 27), PassFlow::EndPass);
  EXPECT_EQ(m.triColor[3], 0x7C00);
  EXPECT_EQ(m.triColor[2], 0);
  EXPECT_EQ(ed().requests.needRender, 1);
  dv[kFieldChangeRed] = 32;
  command(Action::Confirm, 27);
  EXPECT_EQ(m.triColor[3], 0);
}

TEST_F(EditCommands, ConfirmActsByTheMenuItWasChosenIn) {
  Model& m = ed().model;
  m.triFlags[2] = kSel;  // (0, 1, 4)
  ed().fields.floatFields[kX1] = 1.0f;
  EXPECT_EQ(command(Action::Confirm, 11), PassFlow::EndPass);  // move
  EXPECT_EQ(m.vertexPos[4].x, 1.0f);
  EXPECT_EQ(m.vertexPos[2].x, 10.0f);
  EXPECT_EQ(command(Action::Confirm, 12), PassFlow::EndPass);  // duplicate
  EXPECT_EQ(m.vertexCount, 12);
  EXPECT_EQ(m.triangleCount, 7);
  EXPECT_EQ(ed().requests.normalsDirty, 1);
  ed().fields.floatFields[kXScale] = 2.0f;
  ed().fields.floatFields[kX1] = 0.0f;
  command(Action::Confirm, 14);  // scale about the origin
  EXPECT_EQ(m.vertexPos[4].x, 2.0f);
  ed().viewFlags |= kRemoveVerts;
  clearRequests();
  EXPECT_EQ(command(Action::Confirm, 21), PassFlow::EndPass);  // delete both selected triangles
  EXPECT_EQ(m.triangleCount, 5);
  EXPECT_EQ(m.vertexCount, 9);
  EXPECT_EQ(ed().requests.statusMessage, kMsgDeleted);
  EXPECT_EQ(ed().requests.needRender, 1);
}

TEST_F(EditCommands, ConfirmOnAnEmptyModelOnlyRedraws) {
  ed().model.triangleCount = 0;
  for (const int menu : {11, 12, 13, 14, 21, 27}) {
    clearRequests();
    EXPECT_EQ(command(Action::Confirm, menu), PassFlow::ToTools) << menu;
    EXPECT_EQ(ed().requests.needPresent, 1);
    EXPECT_EQ(ed().requests.needRender, 0);
    EXPECT_EQ(ed().requests.normalsDirty, 0);
    EXPECT_EQ(ed().requests.statusMessage, 0);
  }
  EXPECT_EQ(ed().model.vertexCount, 9);
}

TEST_F(EditCommands, FlipsWithoutASelectionSayNothingSelected) {
  for (const Action code : {Action::FlipX, Action::FlipY, Action::FlipZ}) {
    clearRequests();
    EXPECT_EQ(command(code, 22), PassFlow::EndPass);
    EXPECT_EQ(ed().requests.statusMessage, kMsgNothingSelected);
    EXPECT_EQ(ed().requests.normalsDirty, 0);
  }
  EXPECT_EQ(ed().model.vertexPos[4].z, 20.0f);
}

TEST_F(EditCommands, SelectionCentreFillsPointOneAndFlipUsesIt) {
  Model& m = ed().model;
  m.triFlags[2] = kSel;  // (0, 1, 4): box x -10..10, y -10..0, z 0..20
  ed().requests.needRender = 1;
  run(1);
  EXPECT_EQ(command(Action::SelectionCenter, 13), PassFlow::ToTools);
  EXPECT_EQ(ed().fields.floatFields[kX1], 0.0f);
  EXPECT_EQ(ed().fields.floatFields[kY1], -5.0f);
  EXPECT_EQ(ed().fields.floatFields[kZ1], 10.0f);
  EXPECT_EQ(command(Action::FlipZ, 22), PassFlow::EndPass);
  EXPECT_EQ(m.vertexPos[4].z, 0.0f);
  EXPECT_EQ(m.vertexPos[0].z, 20.0f);
  EXPECT_EQ(ed().requests.normalsDirty, 1);
  EXPECT_EQ(command(Action::ReverseFaces, 22), PassFlow::EndPass);
  EXPECT_EQ(m.triVerts[2].b, 4);
  EXPECT_EQ(m.triVerts[2].c, 1);
}

TEST_F(EditCommands, ByPartGroupRowsSelectOrUnselectTheirGroup) {
  Model& m = ed().model;
  m.triFlags[0] = 3;
  m.triFlags[1] = kSel | 3;
  m.triFlags[2] = kSel | 4;
  const int rows = addMenuRows(ed(), 20, {kLabelClose, kLabelPartGroup, kLabelPartRow});
  ed().menus.menuEntries[rows + 2].part = 3;
  ed().viewFlags |= kUnselect;
  EXPECT_EQ(activatePartRow(ed(), rows + 2), PassFlow::EndPass);
  EXPECT_EQ(m.triFlags[0], 3);
  EXPECT_EQ(m.triFlags[1], 3);
  EXPECT_EQ(m.triFlags[2], kSel | 4);
  EXPECT_EQ(ed().requests.needRender, 1);
  ed().viewFlags &= ~kUnselect;
  activatePartRow(ed(), rows + 2);
  EXPECT_EQ(m.triFlags[0], kSel | 3);
  EXPECT_EQ(m.triFlags[1], kSel | 3);
  EXPECT_EQ(m.triFlags[3], 0);
}

TEST_F(EditCommands, PartRowsElsewhereOnlyRedraw) {
  Model& m = ed().model;
  m.triFlags[0] = 3;
  const int rows = addMenuRows(ed(), 22, {kLabelPartGroup, kLabelPartRow}, 2);
  ed().menus.menuEntries[rows + 1].part = 3;
  clearRequests();
  EXPECT_EQ(activatePartRow(ed(), rows + 1), PassFlow::ToTools);
  EXPECT_EQ(m.triFlags[0], 3);
  EXPECT_EQ(ed().requests.needPresent, 1);
  EXPECT_EQ(ed().requests.needRender, 0);
}

TEST_F(EditCommands, AnEmptyPartNameAnswerLeavesTheGroupWithoutAName) {
  Model& m = ed().model;
  setPartName(m, 7, "wheel");
  const int rows = addMenuRows(ed(), 19, {kLabelClose, kLabelPartGroup, kLabelPartNameRow});
  ed().menus.menuEntries[rows + 2].part = 7;
  platform_.pushKey(keys::kEnter);
  EXPECT_EQ(activatePartRow(ed(), rows + 2), PassFlow::ToTools);
  EXPECT_EQ(partName(m, 7), std::string(12, ' '));
  EXPECT_EQ(partName(m, 0), "default     ");
  EXPECT_EQ(ed().requests.needPresent, 1);
}

}  // namespace
