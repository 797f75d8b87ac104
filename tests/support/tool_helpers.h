// Helpers for tests of the tools and the interface: menu entries placed by hand and checks
// for functions whose owners may not have landed yet.
#pragma once

#include <cmath>

#include "core/menu_state.h"
#include "render/camera_ops.h"

// Places an entry on screen without the menu tables (the tools only look at label and menu).
inline void putEntry(MenuState& ms, int label, int menu, int row = 30, int column = 60) {
  ms.menuEntries[ms.menuEntryCount++] =
      MenuEntry{static_cast<uint8_t>(column), static_cast<uint8_t>(row),  16,
                static_cast<uint8_t>(label),  static_cast<uint8_t>(menu), 0};
}

// Signed difference of two angles folded into (-pi, pi].
inline float angleDelta(float after, float before) {
  double d = static_cast<double>(after) - before;
  while (d > 3.14159265) d -= 2 * 3.14159265358979;
  while (d <= -3.14159265) d += 2 * 3.14159265358979;
  return static_cast<float>(d);
}
