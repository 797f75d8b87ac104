// Undo and redo of every command that changes the model: Ctrl+Z brings back the model as it
// was before the command row for row, Ctrl+Y and Ctrl+Shift+Z the model after it.
#include <cstdio>
#include <functional>

#include "model/create.h"
#include "model/cutting.h"
#include "support/editor_fixture.h"
#include "support/model_snapshot.h"
#include "ui/dispatch.h"
#include "ui/file_commands.h"

namespace {

struct UndoCase {
  const char* name;
  Action action;
  int menu;                           // invokingMenu
  std::function<void(Editor&)> prep;  // selection, fields, options
};

void selectFirstThree(Editor& ed) {
  for (int t = 0; t < 3; ++t) ed.model.triFlags[t] |= kSelectedBit;
}

class UndoCommands : public EditorFixture {
 protected:
  // One undo or redo key, one pass: the step is applied and its message raised.
  uint8_t press(const std::string& key) {
    platform_.pushKey(key);
    EXPECT_TRUE(run(1));
    return ed().requests.statusMessage;
  }
};

TEST_F(UndoCommands, EveryCommandUndoesAndRedoesRowForRow) {
  const auto withSelection = [](std::function<void(Editor&)> more) {
    return [more](Editor& ed) {
      selectFirstThree(ed);
      if (more) more(ed);
    };
  };
  const UndoCase cases[] = {
      {"new cube", Action::Create, kMenuNewCube, {}},
      {"new cone", Action::Create, kMenuNewCone, {}},
      {"new vertex", Action::Create, kMenuNewVertex, {}},
      {"new line", Action::Create, kMenuNewLine, {}},
      {"delete last vert", Action::DeleteLastVertex, 0, {}},
      {"delete last tri", Action::DeleteLastTriangle, 0, {}},
      {"delete last line", Action::DeleteLastLine, 0, {}},
      {"select all", Action::SelectEntireModel, 0, {}},
      {"clear selection", Action::ClearSelection, 0, selectFirstThree},
      {"flip x", Action::FlipX, 0, selectFirstThree},
      {"flip y", Action::FlipY, 0, selectFirstThree},
      {"flip z", Action::FlipZ, 0, selectFirstThree},
      {"move", Action::Confirm, 11,
       withSelection([](Editor& ed) { ed.fields.floatFields[kX1] = 5.0f; })},
      {"duplicate", Action::Confirm, 12,
       withSelection([](Editor& ed) { ed.fields.floatFields[kX1] = 5.0f; })},
      {"rotate", Action::Confirm, 13,
       withSelection([](Editor& ed) { ed.fields.floatFields[kXYAngle] = 1.0f; })},
      {"scale", Action::Confirm, 14,
       withSelection([](Editor& ed) { ed.fields.floatFields[kXScale] = 2.0f; })},
      {"delete selection", Action::Confirm, 21, selectFirstThree},
      {"delete with verts", Action::Confirm, 21,
       withSelection([](Editor& ed) { ed.viewFlags |= kRemoveVerts; })},
      {"change color", Action::Confirm, 27,
       withSelection([](Editor& ed) { ed.fields.displayValues[kFieldChangeRed] = 31; })},
      {"reassign", Action::ReassignTo, 0,
       withSelection([](Editor& ed) { ed.menus.menuPartGroup[22] = 7; })},
      {"reverse faces", Action::ReverseFaces, 0, selectFirstThree},
      {"new", Action::New, 0, selectFirstThree},
      {"guillotine z", Action::SliceXY, 0,
       [](Editor& ed) { ed.fields.floatFields[kX1 + 2] = 10.0f; }},
      {"guillotine x", Action::SliceYZ, 0, [](Editor& ed) { ed.fields.floatFields[kX1] = 3.0f; }},
      {"guillotine y", Action::SliceXZ, 0,
       [](Editor& ed) { ed.fields.floatFields[kX1 + 1] = -4.0f; }},
      {"move vert", Action::MoveVertex, 0, [](Editor& ed) { ed.tools.pickSlots[2] = 4; }},
      {"delete vert", Action::DeleteVertex, 0, [](Editor& ed) { ed.tools.pickSlots[2] = 2; }},
      {"drill", Action::Confirm, 24,
       [](Editor& ed) {
         ed.fields.displayValues[kFieldScreenX] = ed.camera.viewCenterX;
         ed.fields.displayValues[kFieldScreenY] = ed.camera.viewCenterY;
         ed.fields.floatFields[kRadius] = 500.0f;
       }},
  };
  for (const UndoCase& c : cases) {
    SCOPED_TRACE(c.name);
    ed_.reset();
    start();
    ASSERT_TRUE(run(2));  // the first render gives the drill its projections
    if (c.prep) c.prep(ed());
    const ModelSnapshot before = snapshotOf(ed().model);
    ed().menus.invokingMenu = c.menu;
    runCommand(ed(), c.action);
    const ModelSnapshot after = snapshotOf(ed().model);
    ASSERT_NE(before, after) << "the command changed nothing: the case tests nothing";

    EXPECT_EQ(press(keys::ctrlKey('z')), kMsgUndone);
    EXPECT_EQ(snapshotDifference(before, snapshotOf(ed().model)), "");
    EXPECT_EQ(press(keys::ctrlKey('z')), kMsgNothingToUndo);
    EXPECT_EQ(press(keys::ctrlKey('y')), kMsgRedone);
    EXPECT_EQ(snapshotDifference(after, snapshotOf(ed().model)), "");
    EXPECT_EQ(press(keys::ctrlKey('y')), kMsgNothingToRedo);
    press(keys::ctrlKey('z'));
    EXPECT_EQ(press(keys::ctrlKey('z', true)), kMsgRedone);
    EXPECT_EQ(snapshotDifference(after, snapshotOf(ed().model)), "");
  }
}

TEST_F(UndoCommands, LoadsPartsAndKeysAreStepsToo) {
  start();
  ASSERT_TRUE(run(2));
  const ModelSnapshot start0 = snapshotOf(ed().model);
  runFileCommandAnswered(ed(), Action::SaveAs, "whole.rq");  // save as: no step
  platform_.pushKey(keys::kF6);                              // invert the selection: one step
  ASSERT_TRUE(runUntilKeysDone());
  const ModelSnapshot inverted = snapshotOf(ed().model);
  runFileCommandAnswered(ed(), Action::LoadPart, "whole.rq");  // load part: appended
  const ModelSnapshot merged = snapshotOf(ed().model);
  ASSERT_NE(merged, inverted);
  runFileCommandAnswered(ed(), Action::Open, "missing.rq");  // a refused open changes nothing
  EXPECT_EQ(snapshotOf(ed().model), merged);

  EXPECT_EQ(press(keys::ctrlKey('z')), kMsgUndone);
  EXPECT_EQ(snapshotOf(ed().model), inverted);
  EXPECT_EQ(press(keys::ctrlKey('z')), kMsgUndone);
  EXPECT_EQ(snapshotOf(ed().model), start0);
  // A new command drops what could have been redone.
  ed().menus.invokingMenu = kMenuNewVertex;
  runCommand(ed(), Action::Create);
  EXPECT_EQ(press(keys::ctrlKey('y')), kMsgNothingToRedo);
}

}  // namespace
