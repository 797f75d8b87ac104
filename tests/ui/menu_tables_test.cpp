#include "ui/menu_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

int menusShowing(int label) {
  int count = 0;
  for (int m = 1; m <= kMenuCount; ++m) {
    const MenuDef d = menuDef(m);
    if (std::find(d.labels.begin(), d.labels.end(), label) != d.labels.end()) ++count;
  }
  return count;
}

TEST(MenuTables, LabelsArePaddedToSixteenWithTheBarShowingEight) {
  ASSERT_EQ(menuLabels.size(), 132u);
  for (const MenuLabel& l : menuLabels) EXPECT_EQ(l.textView().size(), 16u);
  EXPECT_EQ(std::string(menuLabels[1].shown()), "  File  ");
  EXPECT_EQ(std::string(menuLabels[2].shown()), "  Edit  ");
  EXPECT_EQ(std::string(menuLabels[3].shown()), "  View  ");
  EXPECT_EQ(std::string(menuLabels[4].shown()), " Camera ");
  EXPECT_EQ(menuLabels[5].width, 16);
  EXPECT_EQ(std::string(menuLabels[5].textView()), " Quit           ");
  EXPECT_EQ(std::string(menuLabels[62].textView()), "   visible parts");
  EXPECT_EQ(std::string(menuLabels[123].textView()), " (range is 0-31)");
  EXPECT_EQ(std::string(menuLabels[20].textView()), "    culling     ");
  EXPECT_EQ(std::string(menuLabels[110].textView()), std::string(16, ' '));
  EXPECT_EQ(menuLabels[110].kind, kCaption);
}

TEST(MenuTables, KindsArgumentsAndHotKeys) {
  EXPECT_EQ(menuLabels[14].kind, kAction);
  EXPECT_EQ(menuLabels[14].arg, 4);
  EXPECT_EQ(menuLabels[14].hotKey, '-');
  EXPECT_EQ(menuLabels[54].arg, 12);
  EXPECT_EQ(menuLabels[54].hotKey, '.');
  EXPECT_EQ(menuLabels[72].arg, 17);
  EXPECT_EQ(menuLabels[117].kind, kCheckbox);
  EXPECT_EQ(menuLabels[117].arg, 13);
  EXPECT_EQ(menuLabels[18].kind, kPartRow);
  EXPECT_EQ(menuLabels[90].kind, kPartNameRow);
  EXPECT_EQ(menuLabels[88].hotKey, ' ');
  EXPECT_EQ(menuLabels[131].kind, kSubmenu);
  EXPECT_EQ(menuLabels[131].arg, 28);
  // The two colour menus hold separate values.
  EXPECT_EQ(menuLabels[124].arg, 15);
  EXPECT_EQ(menuLabels[128].arg, 18);
  EXPECT_EQ(menuLabels[85].arg, 82);
  EXPECT_EQ(menuLabels[87].arg, 12);
  // Every submenu opens a real menu, every check box names a bit of the option word.
  for (const MenuLabel& l : menuLabels) {
    if (l.kind == kSubmenu) {
      EXPECT_GE(l.arg, 1);
      EXPECT_LE(l.arg, kMenuCount);
    }
    if (l.kind == kCheckbox) {
      EXPECT_LE(l.arg, 14);
    }
    if (l.kind == kAction) {
      EXPECT_LE(l.arg, 38);
    }
  }
}

TEST(MenuTables, DefinitionsAnchorsAndLengths) {
  int total = 0;
  for (int m = 1; m <= kMenuCount; ++m) {
    const MenuDef d = menuDef(m);
    ASSERT_FALSE(d.labels.empty()) << m;
    EXPECT_EQ(d.labels[0], 14) << "menu " << m << " starts with its close entry";
    EXPECT_EQ(d.row, 4);
    const bool firstLevel = m <= 4 || m == 10 || m == 15 || m == 22 || m == 23;
    EXPECT_EQ(d.column, firstLevel ? 2 : 19) << m;
    for (uint8_t l : d.labels) EXPECT_LT(l, kLabelCount);
    total += static_cast<int>(d.labels.size());
  }
  EXPECT_EQ(total, 265);
  EXPECT_EQ(menuDef(8).labels.size(), 15u);
  EXPECT_EQ(menuDef(8).row + 14, 18);
  EXPECT_EQ(menuDef(4).labels.size(), 16u);
  EXPECT_EQ(menuDef(21).labels.size(), 3u);
  EXPECT_EQ(menuDef(1).labels[1], 80);
  EXPECT_EQ(menuDef(22).labels.back(), 18);
  EXPECT_EQ(menusShowing(14), 28);
  EXPECT_EQ(menusShowing(42), 14);
  EXPECT_EQ(menusShowing(43), 14);
  EXPECT_EQ(menusShowing(44), 14);
  EXPECT_EQ(menusShowing(58), 14);
  EXPECT_EQ(menusShowing(110), 0);
  EXPECT_EQ(menuDefStartTable()[1], 0);
  EXPECT_TRUE(std::is_sorted(menuDefStartTable().begin() + 1, menuDefStartTable().end()));
}

}  // namespace
