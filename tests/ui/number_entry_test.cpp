#include <gtest/gtest.h>

#include <string>

#include "support/editor_fixture.h"
#include "support/menu_rows.h"
#include "ui/field_entry.h"

namespace {

class NumberEntry : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    start();
    run(1);
  }
  // "new Line" at the usual place: X1 is entry first + 2 ... Z2 first + 7.
  int newLine() {
    return addMenuRows(ed(), 6,
                       {kLabelClose, kLabelMousePlot, kLabelX1, kLabelY1, kLabelZ1, kLabelX2,
                        kLabelY2, kLabelZ2, kLabelCreate});
  }
  float field(int index) const { return ed_->fields.floatFields[index]; }
};

TEST_F(NumberEntry, TypedNumbersAreStoredAsTheKeysSay) {
  const int x1 = newLine() + 2;
  const struct {
    const char* keys;
    float value;
  } cases[] = {{"1.25\r", 1.25f},  {".5\r", 0.5f},   {"-3\r", -3.0f},
               {"3-\r", -3.0f},    {"\r", 0.0f},     {"1.2.3\r", 12.3f},
               {"1.-5\r", -0.15f}, {"12x\r", 12.0f}, {"0.001\r", 0.001f}};
  for (const auto& c : cases) {
    ed().fields.floatFields[kX1] = 99.0f;
    platform_.typeText(c.keys);
    EXPECT_EQ(activateField(ed(), x1), PassFlow::ToTools);
    EXPECT_FLOAT_EQ(field(kX1), c.value) << c.keys;
    EXPECT_EQ(platform_.pendingKeys(), 0u) << c.keys;
  }
  EXPECT_EQ(ed().requests.needPresent, 1);
}

TEST_F(NumberEntry, TheEntryAreaIsTheLastSevenCellsOfTheRow) {
  const int x1 = newLine() + 2;  // row 6, columns 19..34
  platform_.typeText("-2.5");
  platform_.pushKey(keys::kEsc);
  activateField(ed(), x1);
  EXPECT_EQ(platform_.textRow(6).substr(27, 7), "-2.5   ");
  const int ch = ed().cellHeight;
  EXPECT_EQ(platform_.rgbAt(33 * 8 + 4, 5 * ch + ch / 2), 0x000040u);
  platform_.lock();
  platform_.pushKey(keys::kEsc);
  activateField(ed(), x1);
  EXPECT_EQ(platform_.textRow(6).substr(27, 7), "_      ");
}

TEST_F(NumberEntry, EscapeKeepsTheOldValue) {
  const int x1 = newLine() + 2;
  ed().fields.floatFields[kX1] = 7.0f;
  platform_.typeText("12");
  platform_.pushKey(keys::kEsc);
  activateField(ed(), x1);
  EXPECT_EQ(field(kX1), 7.0f);
  EXPECT_EQ(ed().requests.needPresent, 1);
}

TEST_F(NumberEntry, IntegerFieldsRoundHalvesToEven) {
  const int sides = addMenuRows(ed(), 16, {kLabelClose, kLabelSides}) + 1;
  platform_.typeText("2.5\r");
  activateField(ed(), sides);
  EXPECT_EQ(ed().fields.displayValues[kFieldSides], 2);
  platform_.typeText("3.5\r");
  activateField(ed(), sides);
  EXPECT_EQ(ed().fields.displayValues[kFieldSides], 4);
  platform_.typeText("-7\r");
  activateField(ed(), sides);
  EXPECT_EQ(ed().fields.displayValues[kFieldSides], -7);
}

TEST_F(NumberEntry, TheSeventhCharacterStoresWithoutEnter) {
  const int x1 = newLine() + 2;
  platform_.typeText("12345679");
  activateField(ed(), x1);
  EXPECT_EQ(field(kX1), 1234567.0f);
  EXPECT_EQ(platform_.pendingKeys(), 1u);
}

TEST_F(NumberEntry, DrawDepthAsksForARender) {
  const int depth = addMenuRows(ed(), 3, {kLabelClose, kLabelDrawDepth}, 2) + 1;
  platform_.typeText("500\r");
  activateField(ed(), depth);
  EXPECT_EQ(field(kDrawDepth), 500.0f);
  EXPECT_EQ(ed().requests.needRender, 1);
}

TEST_F(NumberEntry, TabWalksTheNumericFieldsOnScreen) {
  const int first = newLine();
  ed().fields.floatFields[kY2] = 8.0f;
  platform_.typeText("1\t2\t3\t4\r5");
  activateField(ed(), first + 2);
  EXPECT_EQ(field(kX1), 1.0f);
  EXPECT_EQ(field(kY1), 2.0f);
  EXPECT_EQ(field(kZ1), 3.0f);
  EXPECT_EQ(field(kX2), 4.0f);
  EXPECT_EQ(field(kY2), 8.0f);
  EXPECT_EQ(platform_.pendingKeys(), 1u);
}

TEST_F(NumberEntry, TabInTheLastFieldOnScreenJustStores) {
  const int first = newLine();
  platform_.typeText("5\t7");
  activateField(ed(), first + 7);
  EXPECT_EQ(field(kZ2), 5.0f);
  EXPECT_EQ(platform_.pendingKeys(), 1u);
}

TEST_F(NumberEntry, TabIntoAPointFieldTypesEvenWithMousePlotOn) {
  const int cube = addMenuRows(ed(), 9, {kLabelClose, kLabelMousePlot, kLabelX1, kLabelSize});
  newLine();
  ed().viewFlags |= kMousePlot;
  platform_.typeText("2\t3\r");
  activateField(ed(), cube + 3);  // siZe opens number entry, Tab goes on to X1 of "new Line"
  EXPECT_EQ(field(kSize), 2.0f);
  EXPECT_EQ(field(kX1), 3.0f);
  EXPECT_EQ(ed().tools.tool, kToolMouselook);
}

TEST_F(NumberEntry, WithMousePlotOnAPointFieldPlotsTheWholePoint) {
  const int first = newLine();
  const int drill =
      addMenuRows(ed(), 24, {kLabelClose, kLabelMousePlot, kLabelScreenX, kLabelScreenY});
  ed().viewFlags |= kMousePlot;
  platform_.typeText("5\r");
  EXPECT_EQ(activateField(ed(), first + 6), PassFlow::ToTools);  // Y2
  EXPECT_EQ(ed().tools.tool, kToolMousePlot);
  EXPECT_EQ(ed().tools.plotTarget, 3);
  EXPECT_EQ(ed().tools.plotMenu, 6);
  EXPECT_EQ(ed().requests.needPresent, 1);
  EXPECT_EQ(platform_.pendingKeys(), 2u);
  ed().tools = ToolState{};
  activateField(ed(), first + 4);  // Z1
  EXPECT_EQ(ed().tools.plotTarget, 0);
  activateField(ed(), drill + 3);  // screenY
  EXPECT_EQ(ed().tools.plotTarget, -1);
  EXPECT_EQ(ed().tools.plotMenu, 24);
  EXPECT_EQ(platform_.pendingKeys(), 2u);
}

TEST_F(NumberEntry, WithMousePlotOnOtherFieldsStillOpenNumberEntry) {
  const int cube = addMenuRows(ed(), 9, {kLabelClose, kLabelMousePlot, kLabelX1, kLabelSize});
  const int disc = addMenuRows(ed(), 16, {kLabelClose, kLabelRadius});
  ed().viewFlags |= kMousePlot;
  platform_.typeText("4\r6\r");
  activateField(ed(), cube + 3);
  activateField(ed(), disc + 1);
  EXPECT_EQ(field(kSize), 4.0f);
  EXPECT_EQ(field(kRadius), 6.0f);
  EXPECT_EQ(ed().tools.tool, kToolMouselook);
}

TEST_F(NumberEntry, WaitingForKeysSleepsAndRefreshesAtMostThirtyTimesASecond) {
  const int x1 = newLine() + 2;
  platform_.setIdleCloseAfter(31);  // after the "1": 30 empty reads, then the close request
  platform_.typeText("1");
  const double before = platform_.clock();
  const int refreshes = platform_.refreshes();
  activateField(ed(), x1);
  EXPECT_NEAR(platform_.clock() - before, 0.9, 1e-6);
  EXPECT_GE(platform_.refreshes() - refreshes, 1);
  EXPECT_LE(platform_.refreshes() - refreshes, 28);
}

TEST_F(NumberEntry, ANewLeftPressEndsTheEntryAndStores) {
  const int x1 = newLine() + 2;
  ed().fields.floatFields[kX1] = 7.0f;
  platform_.setIdleCloseAfter(5);  // a missed press would end in the close request
  platform_.setMouse(100, 100, 1);
  ed().input.leftClick = 1;  // what the pass's mouse read makes of the press
  platform_.typeText("5");
  EXPECT_EQ(activateField(ed(), x1), PassFlow::ToTools);
  EXPECT_FALSE(ed().requests.quit);
  EXPECT_EQ(field(kX1), 0.0f);
  EXPECT_EQ(platform_.pendingKeys(), 1u);
}

TEST_F(NumberEntry, CloseRequestDuringEntryEndsTheProgramWithoutStoring) {
  const int x1 = newLine() + 2;
  ed().fields.floatFields[kX1] = 7.0f;
  platform_.typeText("12");
  platform_.pushKey(keys::kClose);
  EXPECT_EQ(activateField(ed(), x1), PassFlow::EndPass);
  EXPECT_TRUE(ed().requests.quit);
  EXPECT_EQ(field(kX1), 7.0f);
  EXPECT_FALSE(run(1));
}

}  // namespace
