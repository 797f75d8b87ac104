// Undo and redo of every command that changes the model: Ctrl+Z brings back the model as it
// was before the command row for row, Ctrl+Y and Ctrl+Shift+Z the model after it.
#include <cstdio>
#include <functional>

#include "model/create.h"
#include "model/cutting.h"
#include "model/history.h"
#include "model/transforms.h"
#include "support/editor_fixture.h"
#include "support/model_snapshot.h"
#include "support/small_models.h"
#include "ui/commands.h"
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

// A square pyramid over (-10..10)² with its apex at x = 0: a cut at x = 0 runs through the
// apex and leaves slivers, which the guillotine removes by compacting.
void addPyramid(Model& m) {
  const int32_t n = m.vertexCount;
  for (const Vec3 p :
       {Vec3{-10, -10, 0}, Vec3{10, -10, 0}, Vec3{10, 10, 0}, Vec3{-10, 10, 0}, Vec3{0, 0, 20}})
    addVertex(m, p.x, p.y, p.z);
  for (const Tri t :
       {Tri{0, 3, 2}, Tri{2, 1, 0}, Tri{0, 1, 4}, Tri{1, 2, 4}, Tri{2, 3, 4}, Tri{3, 0, 4}})
    addTriangle(m, n + t.a, n + t.b, n + t.c, 3);
}

// Cubes in a row along x, every third triangle selected; the pyramid first or last.
Model rowOfCubes(bool pyramidFirst, bool selectAll) {
  Model m = makeEmptyModel(1000, 1000, 20);
  if (pyramidFirst) addPyramid(m);
  for (int i = 0; i < 20; ++i)
    addCube(m, -38.0f + 4.0f * static_cast<float>(i), 0.0f, 0.0f, 2.0f, 5);
  if (!pyramidFirst) addPyramid(m);
  for (int32_t t = 0; t < m.triangleCount; ++t)
    if (selectAll || t % 3 == 0) m.triFlags[t] |= kSelectedBit;
  addLine(m, 0, 1);
  addLine(m, 2, 9);
  return m;
}

// The operations that keep their own undo rows give the same model with a history as without
// one, and their step brings back either side, whichever way they keep them (runs of rows, a
// whole array, rows kept and then the whole array).
TEST(UndoOwnRows, RecordedOperationsMatchPlainOnesAndRoundTrip) {
  const Selection centre{Vec3{1.0f, 2.0f, 3.0f}, 0.0f};
  using Run = std::function<void(Model&, History*)>;
  const struct {
    const char* name;
    bool pyramidFirst, selectAll;
    ChangeScope scope;
    Run run;
  } cases[] = {
      {"move all", true, true, transformScope(),
       [&](Model& m, History* h) {
         moveSelection(m, centre, Vec3{5, 0, 1}, false, h);
       }},
      {"move some", true, false, transformScope(),
       [&](Model& m, History* h) {
         moveSelection(m, centre, Vec3{5, 0, 1}, true, h);
       }},
      {"rotate some", true, false, transformScope(),
       [&](Model& m, History* h) {
         rotateSelection(m, centre.selectionCenter, 0.5f, 0.25f, 1.0f, h);
       }},
      {"scale all", true, true, transformScope(),
       [&](Model& m, History* h) {
         scaleSelection(m, centre.selectionCenter, Vec3{2, 3, 0.5f}, h);
       }},
      {"flip some", true, false, transformScope(),
       [&](Model& m, History* h) { flipSelection(m, centre, Axis::Y, h); }},
      {"delete some", true, false, deleteScope(false),
       [&](Model& m, History* h) { deleteSelection(m, false, h); }},
      {"delete some with verts", true, false, deleteScope(true),
       [&](Model& m, History* h) { deleteSelection(m, true, h); }},
      {"delete all with verts", false, true, deleteScope(true),
       [&](Model& m, History* h) { deleteSelection(m, true, h); }},
      {"guillotine, slivers early", true, false, sliceScope(),
       [&](Model& m, History* h) { sliceModel(m, kAxisX, 0.0f, h); }},
      {"guillotine, slivers late", false, false, sliceScope(),
       [&](Model& m, History* h) { sliceModel(m, kAxisX, 0.0f, h); }},
      {"guillotine through cubes", true, false, sliceScope(),
       [&](Model& m, History* h) { sliceModel(m, kAxisX, 1.0f, h); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Model plain = rowOfCubes(c.pyramidFirst, c.selectAll);
    Model recorded = plain;
    const ModelSnapshot before = snapshotOf(plain);
    c.run(plain, nullptr);
    History h;
    recordStep(h, recorded, c.scope, [&] {
      c.run(recorded, &h);
      return 0;
    });
    const ModelSnapshot after = snapshotOf(plain);
    ASSERT_NE(before, after) << "the case changes nothing";
    EXPECT_EQ(snapshotOf(recorded), after);
    ASSERT_TRUE(undoStep(h, recorded));
    EXPECT_EQ(snapshotOf(recorded), before);
    ASSERT_TRUE(redoStep(h, recorded));
    EXPECT_EQ(snapshotOf(recorded), after);
  }
}

}  // namespace
