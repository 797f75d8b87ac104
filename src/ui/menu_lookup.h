// Questions the tools ask about the menu entries on screen.
#pragma once

#include "core/menu_state.h"
#include "ui/menu_ids.h"

// Labels and menus the tools watch.
constexpr int kLabelMousePlot = 58;     // "[_] Mouse plot"
constexpr int kLabelVertSelectr = 117;  // "[_] vert Selectr"

// Whether some entry on screen shows the label.
inline bool labelShownOnScreen(const MenuState& ms, int label) {
  for (int i = 0; i < ms.menuEntryCount; ++i)
    if (ms.menuEntries[i].label == label) return true;
  return false;
}

// Whether some entry on screen belongs to the menu (1..28).
inline bool menuShownOnScreen(const MenuState& ms, int menu) {
  for (int i = 0; i < ms.menuEntryCount; ++i)
    if (ms.menuEntries[i].menu == menu) return true;
  return false;
}
