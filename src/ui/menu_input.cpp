// Menu keys, right-button dragging of windows and left clicks on entries.
#include "ui/menu_list.h"
#include "ui/menu_tables.h"
#include "ui/menus.h"

namespace {

// Up and Down inside the focused window: step through the list, wrapping at both ends, until
// an entry of that window is reached.
void stepInWindow(MenuState& ms, int step) {
  const int count = ms.menuEntryCount;
  int i = ms.activeEntry;
  for (int tries = 0; tries < count; ++tries) {
    i += step;
    if (i < 0) i = count - 1;
    if (i >= count) i = 0;
    if (ms.menuEntries[i].menu == ms.activeMenu) {
      ms.activeEntry = static_cast<int16_t>(i);
      return;
    }
  }
}

// Tab: the open window with the next higher number, or none.
void focusNextWindow(MenuState& ms) {
  int next = -1;
  for (int i = 0; i < ms.menuEntryCount; ++i) {
    const int m = ms.menuEntries[i].menu;
    if (m > ms.activeMenu && m >= 1 && (next == -1 || m < next)) next = m;
  }
  ms.activeMenu = static_cast<int16_t>(next);
  ms.activeEntry = -1;
}

bool rightHeld(const InputState& in) {
  return in.mouseButtons >= 0 && (in.mouseButtons & 2) != 0;
}

// Moves every entry of a window by whole cells, kept inside the screen: no entry may reach
// the last column or the last row.
void moveWindow(Editor& ed, int menu, int dx, int dy) {
  MenuState& ms = ed.menus;
  const int columns = ed.screen.columns, rows = ed.screen.rows;
  for (int i = 0; i < ms.menuEntryCount; ++i) {
    const MenuEntry& e = ms.menuEntries[i];
    if (e.menu != menu) continue;
    if (e.column + dx < 1) dx = 1 - e.column;
    if (e.column + dx + e.width > columns) dx = columns - e.width - e.column;
    if (e.row + dy < 1) dy = 1 - e.row;
    if (e.row + dy + 1 > rows) dy = rows - 1 - e.row;
  }
  for (int i = 0; i < ms.menuEntryCount; ++i) {
    MenuEntry& e = ms.menuEntries[i];
    if (e.menu != menu) continue;
    e.column = static_cast<uint8_t>(e.column + dx);
    e.row = static_cast<uint8_t>(e.row + dy);
  }
  ed.input.anchorScreenX += dx * 8;
  ed.input.anchorScreenY += dy * ed.cellHeight;
}

}  // namespace

PassFlow handleMenuKeys(Editor& ed) {
  MenuState& ms = ed.menus;
  const std::string& key = ed.input.keyPressed;
  // The draw repairs the focus before any key can be read; repeat it here so the keys never
  // see a focused menu without a highlighted entry.
  repairFocus(ms);
  bool redraw = false;
  if (key == keys::kCtrlF4 || key == keys::kEsc) {  // Esc closes as Ctrl+F4 does
    if (ms.activeMenu > 0) {
      closeMenu(ed, ms.activeMenu);
      redraw = true;
    }
  } else if (ms.activeMenu == 0 &&
             (key == keys::kDown || key == keys::kLeft || key == keys::kRight)) {
    if (key == keys::kDown) {
      activateEntry(ed, ms.activeEntry);
    } else if (ms.activeEntry >= 0 && ms.activeEntry <= 3) {
      ms.activeEntry = static_cast<int16_t>((ms.activeEntry + (key == keys::kLeft ? 3 : 1)) % 4);
    }
    redraw = true;
  } else if (ms.activeMenu > 0 && (key == keys::kUp || key == keys::kDown)) {
    stepInWindow(ms, key == keys::kUp ? -1 : 1);
    redraw = true;
  } else if (key == keys::kTab && ms.activeMenu != 0) {
    focusNextWindow(ms);
    redraw = true;
  }
  if (redraw) {
    ed.requests.needPresent = 1;
    return PassFlow::EndPass;
  }
  if (key == keys::kEnter) {
    if (ms.activeEntry != -1) return activateEntry(ed, ms.activeEntry);
    return PassFlow::Next;
  }
  if (!key.empty() && key != " ") return activateHotKey(ed, key);
  return PassFlow::Next;
}

PassFlow handleMenuDrag(Editor& ed) {
  MenuState& ms = ed.menus;
  InputState& in = ed.input;
  if (in.rightClick != 0) {
    const int hit = hitTest(ms, in.mouseScreenX, in.mouseScreenY, ed.cellHeight);
    if (hit >= 0 && ms.menuEntries[hit].menu >= 1) {
      ms.dragMenu = ms.menuEntries[hit].menu;
      return PassFlow::EndPass;
    }
  }
  if (!rightHeld(in)) {
    ms.dragMenu = 0;
    return PassFlow::Next;
  }
  if (ms.dragMenu == 0) return PassFlow::Next;
  // Whole cells only; the remainder stays between pointer and anchor for the next pass.
  const int dx = (in.mouseScreenX - in.anchorScreenX) / 8;
  const int dy = (in.mouseScreenY - in.anchorScreenY) / ed.cellHeight;
  if (dx != 0 || dy != 0) {
    moveWindow(ed, ms.dragMenu, dx, dy);
    ed.requests.needPresent = 1;
  }
  return PassFlow::Restart;
}

PassFlow handleMenuClick(Editor& ed) {
  MenuState& ms = ed.menus;
  const InputState& in = ed.input;
  if (in.leftClick == 0) return PassFlow::Next;
  const int hit = hitTest(ms, in.mouseScreenX, in.mouseScreenY, ed.cellHeight);
  if (hit < 0) return PassFlow::Next;
  ms.menuClicked = 1;
  return activateEntry(ed, hit);
}
