#include "ui/interface.h"

#include <cstring>

#include "support/editor_fixture.h"
#include "ui/tool_line.h"

namespace {

TEST(StatusMessages, RecordsArePaddedToTwentyFiveCharacters) {
  EXPECT_STREQ(statusMessageText(4), "Error: too many triangles");
  EXPECT_STREQ(statusMessageText(1), "Canceled.                ");
  EXPECT_STREQ(statusMessageText(10), "Error: write failed      ");
  EXPECT_STREQ(statusMessageText(13), "Error: file not found    ");
  EXPECT_STREQ(statusMessageText(14), "Error: damaged file      ");
  EXPECT_STREQ(statusMessageText(15), "Error: no facets in file ");
  EXPECT_STREQ(statusMessageText(16), "Error: permission denied ");
  EXPECT_STREQ(statusMessageText(kMsgUndone), "Undone.                  ");
  EXPECT_STREQ(statusMessageText(kMsgRedone), "Redone.                  ");
  EXPECT_STREQ(statusMessageText(kMsgNothingToUndo), "Nothing to undo.         ");
  EXPECT_STREQ(statusMessageText(kMsgNothingToRedo), "Nothing to redo.         ");
  for (int n : {-1, 0, kStatusMessageCount, 255})
    EXPECT_STREQ(statusMessageText(n), std::string(25, ' ').c_str());
}

TEST(ToolLine, FrameRateFormat) {
  EXPECT_EQ(formatRate(4.0), " 4");
  EXPECT_EQ(formatRate(1.0 / 3.0), " 0.3333333333333333");
  EXPECT_EQ(formatRate(12.5), " 12.5");
  EXPECT_EQ(formatRate(-2.5), "-2.5");
  EXPECT_EQ(formatRate(0.0), " 0");
  EXPECT_EQ(formatRate(123456789012345678.0), " 1.234567890123457e+17");
}

TEST(ToolLine, NamesAndTheRateOfTheBenchmark) {
  ToolState t;
  const char* names[] = {"mouselook",
                         "mouse plot (R-click to end)",
                         "selection",
                         "autotriangle (R-click to end)",
                         "manualtriangle (R-click to end)",
                         nullptr,
                         "vertex edit"};
  for (uint8_t i = 0; i < 7; ++i) {
    if (names[i] == nullptr) continue;
    t.tool = i;
    EXPECT_EQ(toolLineText(t, 1.0), names[i]);
  }
  t.tool = kToolBenchmark;
  t.fpsStart = 10.0;
  t.fpsFrames = 2.0;
  EXPECT_EQ(toolLineText(t, 10.5), "FPS (R-click to end)  4");
  t.fpsFrames = 1.0;
  EXPECT_EQ(toolLineText(t, 13.0), "FPS (R-click to end)  0.3333333333333333");
  EXPECT_EQ(toolLineText(t, 10.0), "");  // no time has passed yet: no line at all
  EXPECT_EQ(toolLineText(t, 9.0), "");
}

using InterfaceText = EditorFixture;

TEST_F(InterfaceText, FileAndToolLines) {
  start();
  run(1);
  EXPECT_EQ(platform_.textRow(1).substr(0, 26), "  current file: default.rq");
  EXPECT_EQ(platform_.textRow(3).substr(0, 17), "  tool: mouselook");
  ed().currentFile = "abcdefghijklmnopqrstuvwxyz.rq";
  ed().requests.needPresent = 1;
  run(1);
  EXPECT_EQ(platform_.textRow(1).substr(0, 40), "  current file: abcdefghijklmnopqrstuvwx");
  EXPECT_EQ(platform_.textRow(1)[40], ' ');
  // Colours 5 on 0: the cell behind the "c" of "current" has a black background.
  EXPECT_EQ(platform_.rgbAt(2 * 8, 0), 0u);
}

TEST_F(InterfaceText, BenchmarkCountsPresentsAndShowsTheRate) {
  start();
  run(2);  // the second pass is idle: 40 ms pass on the clock
  ASSERT_GT(platform_.clock(), 0.0);
  const double now = platform_.clock();
  ed().tools.tool = kToolBenchmark;
  ed().tools.fpsStart = now - 0.5;
  ed().tools.fpsFrames = 1.0;
  ed().requests.needPresent = 1;
  run(1);
  EXPECT_EQ(ed().tools.fpsFrames, 2.0);
  EXPECT_EQ(platform_.textRow(3).substr(0, 31), "  tool: FPS (R-click to end)  4");
}

TEST_F(InterfaceText, StatusMessageIsShownByOnePresentOnly) {
  start();
  run(1);
  ed().requests.statusMessage = kMsgDeleted;
  ed().requests.needPresent = 1;
  run(1);
  EXPECT_EQ(platform_.textRow(23).substr(0, 25), "Deleted!                 ");
  EXPECT_EQ(ed().requests.statusMessage, 0);
  platform_.setMouse(50, 60, 0);  // a move alone does not redraw
  run(1);
  EXPECT_EQ(platform_.textRow(23).substr(0, 8), "Deleted!");
  ed().requests.needPresent = 1;
  run(1);
  EXPECT_EQ(platform_.textRow(23), std::string(100, ' '));
}

using HelpPanel = EditorFixture;

TEST_F(HelpPanel, ShowsTheRemindersAndSwallowsTheClosingKey) {
  start();
  run(1);
  const int presents = platform_.presents();
  platform_.pushKey(keys::kF1);
  platform_.pushKey(keys::kF6);  // closes the panel and must not invert the selection
  run(1);
  EXPECT_EQ(platform_.pendingKeys(), 0u);
  EXPECT_EQ(platform_.textRow(6).substr(5, 28), "  F1 (this reminder)        ");
  EXPECT_EQ(platform_.textRow(13).substr(6, 26), " arrows navigate menus or ");
  EXPECT_EQ(platform_.textRow(17).substr(6, 26), "  camera distance/zoom    ");
  EXPECT_EQ(platform_.rgbAt(5 * 8 + 1, 4 * 16 + 1), 0x404040u);    // frame, row 5
  EXPECT_EQ(platform_.rgbAt(32 * 8 + 1, 10 * 16 + 1), 0x404040u);  // frame, column 33
  EXPECT_GE(platform_.refreshes(), 1);
  EXPECT_EQ(platform_.presents(), presents);  // drawn straight onto the screen
  run(2);
  for (int t = 0; t < ed().model.triangleCount; ++t) EXPECT_EQ(ed().model.triFlags[t], 0);
  EXPECT_EQ(platform_.presents(), presents + 1);  // the redraw removes the panel
  EXPECT_EQ(platform_.textRow(6), std::string(100, ' '));
}

TEST_F(HelpPanel, WaitsForAKeyAndEndsOnTheCloseRequest) {
  start();
  run(1);
  platform_.setIdleCloseAfter(50);  // an empty script ends in the close request
  platform_.pushKey(keys::kF1);
  const double before = platform_.clock();
  EXPECT_FALSE(run(1));
  EXPECT_TRUE(ed().requests.quit);
  EXPECT_GT(platform_.clock(), before);  // it slept while waiting
}

}  // namespace
