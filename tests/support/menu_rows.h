// Puts menu entries on screen by hand, as opening a menu would, for tests of what the
// entries do when activated.
#pragma once

#include <initializer_list>

#include "core/editor.h"

// Appends one entry per label, downward from (column, row 4); returns the first entry's index.
inline int addMenuRows(Editor& ed, int menu, std::initializer_list<int> labels, int column = 19) {
  MenuState& ms = ed.menus;
  const int first = ms.menuEntryCount;
  int row = 4;
  for (const int label : labels) {
    MenuEntry& e = ms.menuEntries[ms.menuEntryCount++];
    e.column = static_cast<uint8_t>(column);
    e.row = static_cast<uint8_t>(row++);
    e.width = 16;
    e.label = static_cast<uint8_t>(label);
    e.menu = static_cast<uint8_t>(menu);
    e.part = 0;
  }
  return first;
}

// Label numbers used by the tests.
enum TestLabel : int {
  kLabelClose = 14,
  kLabelPartRow = 18,
  kLabelX1 = 42,
  kLabelY1 = 43,
  kLabelZ1 = 44,
  kLabelX2 = 45,
  kLabelY2 = 46,
  kLabelZ2 = 47,
  kLabelCreate = 54,
  kLabelSize = 55,
  kLabelMousePlot = 58,
  kLabelConfirm = 72,
  kLabelDrawDepth = 75,
  kLabelRadius = 85,
  kLabelSides = 87,
  kLabelPartGroup = 88,
  kLabelPartNameRow = 90,
  kLabelScreenX = 108,
  kLabelScreenY = 109,
};
