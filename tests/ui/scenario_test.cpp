// Whole-editor journeys through the headless platform, as a user drives them.
#include <set>
#include <string>

#include "support/editor_fixture.h"
#include "ui/menus.h"

namespace {

int entryOfLabel(const Editor& ed, int label) {
  for (int i = 0; i < ed.menus.menuEntryCount; ++i)
    if (ed.menus.menuEntries[i].label == label) return i;
  return -1;
}

class Journey : public EditorFixture {
 protected:
  void pressAlt() {
    platform_.setKeyHeld(kScanAlt, true);
    run(1);
    platform_.setKeyHeld(kScanAlt, false);
    run(1);
  }
};

TEST_F(Journey, AltDownDownEnterRunsNewAndShowsTheMessageForOnePresent) {
  start();
  run(1);
  pressAlt();
  EXPECT_EQ(ed().menus.activeMenu, 0);
  platform_.pushKey(keys::kDown);
  run(2);
  EXPECT_EQ(ed().menus.activeMenu, 1);
  EXPECT_EQ(ed().menus.activeEntry, entryOfLabel(ed(), 14));  // "---- close -----"
  platform_.pushKey(keys::kDown);
  run(2);
  EXPECT_EQ(ed().menus.activeEntry, entryOfLabel(ed(), 80));  // " New"
  platform_.pushKey(keys::kEnter);
  run(1);
  EXPECT_EQ(ed().model.vertexCount, 0);
  run(1);  // the present that shows the message
  EXPECT_EQ(platform_.textRow(23).substr(0, 25), "Model cleared!           ");
  platform_.pushKey(keys::kDown);  // anything that redraws
  run(2);
  EXPECT_EQ(platform_.textRow(23).substr(0, 14), std::string(14, ' '));
}

TEST_F(Journey, FileMenuReadsAsTheUserSeesIt) {
  start();
  run(1);
  pressAlt();
  platform_.pushKey(keys::kDown);
  run(2);
  const char* rows[] = {
      "---- close -----", " New", " Open",         " Save", " save As", " Quit", " exPort stl",
      "save scReenshot",  "",     "current totals"};
  for (int i = 0; i < 10; ++i) {
    std::string expect = rows[i];
    expect.resize(16, ' ');
    EXPECT_EQ(platform_.textRow(4 + i).substr(1, 16), expect) << "row " << 4 + i;
  }
  EXPECT_EQ(platform_.textRow(14).substr(1, 16), "verteces       9");
  EXPECT_EQ(platform_.textRow(15).substr(1, 16), "triangles      6");
  EXPECT_EQ(platform_.textRow(16).substr(1, 16), "lines          4");
  EXPECT_EQ(platform_.textRow(1).substr(2, 24), "current file: default.rq");
  EXPECT_EQ(platform_.textRow(3).substr(2, 15), "tool: mouselook");
}

TEST_F(Journey, F3OpensThenFocusesTheSelectionMenu) {
  start();
  run(1);
  platform_.pushKey(keys::kF3);
  run(2);
  EXPECT_GE(entryOfLabel(ed(), 59), 0);  // "sl. eNtire model" on screen
  EXPECT_EQ(ed().menus.activeMenu, -1);  // nothing had the focus
  platform_.pushKey(keys::kF3);
  run(2);
  EXPECT_EQ(ed().menus.activeMenu, 10);
  EXPECT_EQ(ed().menus.menuEntries[ed().menus.activeEntry].label, 14);
  // The hot key "n" now selects the entire model.
  platform_.pushKey("n");
  run(2);
  EXPECT_EQ(ed().fields.displayValues[kFieldSelectionTotal], 6);
}

TEST_F(Journey, CloseEntryOfADraggedWindowClosesOnlyThatWindow) {
  start();
  run(1);
  platform_.pushKey(keys::kF4);  // "Actions"
  run(2);
  openMenu(ed(), 11);  // "Move selection" beside it
  run(1);
  ASSERT_GE(entryOfLabel(ed(), 94), 0);
  const int close11 = entryOfLabel(ed(), 94) - 2;  // its "---- close -----"
  ASSERT_EQ(ed().menus.menuEntries[close11].menu, 11);
  ed().menus.activeMenu = 11;
  ed().menus.activeEntry = static_cast<int16_t>(close11);
  platform_.pushKey(keys::kEnter);
  run(2);
  EXPECT_LT(entryOfLabel(ed(), 94), 0);
  EXPECT_GE(entryOfLabel(ed(), 63), 0);  // "Actions" stays
}

TEST_F(Journey, QuitWritesNothingAndEndsTheLoop) {
  start();
  run(1);
  pressAlt();
  platform_.pushKey(keys::kDown);
  run(2);
  platform_.pushKey("q");
  EXPECT_FALSE(run(3));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "default.rq"));
}

}  // namespace

namespace {

class CubeJourney : public EditorFixture {
 protected:
  // Distinct colours of the frame pixels whose red, green and blue satisfy `keep`.
  template <class Keep>
  std::set<uint32_t> frameColours(Keep keep) {
    std::set<uint32_t> colours;
    for (const uint32_t p : ed().render.frameBuffer)
      if (keep((p >> 16) & 255, (p >> 8) & 255, p & 255)) colours.insert(p);
    return colours;
  }
};

TEST_F(CubeJourney, TypedCubeIsCreatedShadedAndSelectedInRed) {
  start();
  run(1);
  platform_.pushKey(keys::kF2);
  platform_.pushKey(keys::kF2);  // the second press gives "create Primitive" the focus
  platform_.pushKey("u");        // "new cUbe"
  runUntilKeysDone();
  ASSERT_EQ(ed().menus.activeMenu, 9);
  platform_.pushKey("1");  // X1: number entry, then Tab walks Y1, Z1 and "siZe"
  platform_.typeText("40\t-3\t0\t8\r");
  runUntilKeysDone();
  EXPECT_EQ(ed().fields.floatFields[kX1], 40.0f);
  EXPECT_EQ(ed().fields.floatFields[kY1], -3.0f);
  EXPECT_EQ(ed().fields.floatFields[kSize], 8.0f);
  const auto blueBefore =
      frameColours([](int r, int g, int b) { return r == 0 && g == 0 && b > 0; });
  platform_.pushKey(".");  // ".... create ...."
  runUntilKeysDone();
  EXPECT_EQ(ed().model.vertexCount, 17);
  EXPECT_EQ(ed().model.triangleCount, 18);
  EXPECT_EQ(ed().model.vertexPos[9].x, 36.0f);
  EXPECT_EQ(ed().model.vertexPos[9].y, -7.0f);
  EXPECT_EQ(ed().model.vertexPos[16].z, 8.0f);
  const auto blueAfter =
      frameColours([](int r, int g, int b) { return r == 0 && g == 0 && b > 0; });
  EXPECT_GT(blueAfter.size(), blueBefore.size());  // the cube adds shades of its own
  EXPECT_TRUE(frameColours([](int r, int g, int b) { return r > 0 && g == 0 && b == 0; }).empty());

  platform_.pushKey(keys::kF3);
  platform_.pushKey(keys::kF3);
  platform_.pushKey("n");  // "sl. eNtire model"
  runUntilKeysDone();
  EXPECT_EQ(ed().fields.displayValues[kFieldSelectionTotal], 18);
  const auto reds = frameColours([](int r, int g, int b) { return r > 0 && g == 0 && b == 0; });
  EXPECT_GE(reds.size(), 3u);  // red 224, shaded per face
  EXPECT_TRUE(frameColours([](int r, int g, int b) { return r == 0 && g == 0 && b > 0; }).empty());
}

}  // namespace
