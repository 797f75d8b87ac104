#include "ui/menus.h"

#include <cassert>

#include "ui/dispatch.h"
#include "ui/field_entry.h"
#include "ui/menu_list.h"
#include "ui/menu_tables.h"

int firstEntryOf(const MenuState& ms, int menu) {
  for (int i = 0; i < ms.menuEntryCount; ++i)
    if (ms.menuEntries[i].menu == menu) return i;
  return -1;
}

void repairFocus(MenuState& ms) {
  if (ms.activeMenu > -1 && ms.activeEntry == -1) {
    ms.activeEntry = static_cast<int16_t>(firstEntryOf(ms, ms.activeMenu));
    if (ms.activeEntry == -1) ms.activeMenu = -1;
  }
}

void initMenus(MenuState& ms) {
  ms = MenuState{};
  for (int i = 0; i < 4; ++i) {
    MenuEntry& e = ms.menuEntries[i];
    e.column = static_cast<uint8_t>(kBarColumns[i]);
    e.row = kBarRow;
    e.label = static_cast<uint8_t>(i + 1);
    e.width = menuLabels[e.label].width;
    e.menu = 0;
  }
  ms.menuEntryCount = 4;
  ms.activeMenu = -1;
  ms.activeEntry = -1;
}

void openMenu(Editor& ed, int menu) {
  MenuState& ms = ed.menus;
  if (menu < 1 || menu > kMenuCount) return;
  // Already on screen: it only takes the focus.
  const int first = firstEntryOf(ms, menu);
  if (first >= 0) {
    ms.activeMenu = static_cast<int16_t>(menu);
    ms.activeEntry = static_cast<int16_t>(first);
    return;
  }
  const MenuDef def = menuDef(menu);
  if (ms.activeMenu != -1) ms.activeMenu = 0;
  // One window per anchor: whatever stands on the anchor cell makes way.
  for (int i = 0; i < ms.menuEntryCount;) {
    const MenuEntry& e = ms.menuEntries[i];
    if (e.menu != 0 && e.column == def.column && e.row == def.row) {
      closeMenu(ed, e.menu);
      i = 0;
    } else {
      ++i;
    }
  }
  if (ms.activeMenu == 0) {
    ms.activeMenu = static_cast<int16_t>(menu);
    ms.activeEntry = -1;
  }
  // Every menu is on screen at most once, so the bar and all menus together fit the list.
  const int count = static_cast<int>(def.labels.size());
  assert(ms.menuEntryCount + count <= kMaxMenuEntries);
  if (ms.menuEntryCount + count > kMaxMenuEntries) return;
  for (int k = 0; k < count; ++k) {
    MenuEntry& e = ms.menuEntries[ms.menuEntryCount++];
    e = MenuEntry{};
    e.column = static_cast<uint8_t>(def.column);
    e.row = static_cast<uint8_t>(def.row + k);
    e.label = def.labels[k];
    e.width = menuLabels[e.label].width;
    e.menu = static_cast<uint8_t>(menu);
  }
  ed.requests.needPresent = 1;
}

void closeMenu(Editor& ed, int menu) {
  MenuState& ms = ed.menus;
  if (menu < 1 || menu > kMenuCount) return;  // the bar is never removed
  if (menu == ms.activeMenu) {
    ms.activeMenu = -1;
    ms.activeEntry = -1;
  }
  // Compact in place; the highlight follows its entry to its new index.
  int kept = 0;
  int16_t highlight = -1;
  for (int i = 0; i < ms.menuEntryCount; ++i) {
    if (ms.menuEntries[i].menu == menu) continue;
    if (i == ms.activeEntry) highlight = static_cast<int16_t>(kept);
    ms.menuEntries[kept++] = ms.menuEntries[i];
  }
  for (int i = kept; i < ms.menuEntryCount; ++i) ms.menuEntries[i] = MenuEntry{};
  ms.menuEntryCount = kept;
  ms.activeEntry = highlight;
  ed.requests.needPresent = 1;
}

int hitTest(MenuState& ms, int x, int y, int cellHeight) {
  for (int i = 0; i < ms.menuEntryCount; ++i) {
    const MenuEntry& e = ms.menuEntries[i];
    const int left = (e.column - 1) * 8;
    const int top = (e.row - 1) * cellHeight;
    if (left <= x && x <= left + e.width * 8 && top <= y && y < top + cellHeight) {
      ms.hitSide = x > left + e.width * 4 ? 1 : -1;
      return i;
    }
  }
  return -1;
}

PassFlow activateEntry(Editor& ed, int index) {
  MenuState& ms = ed.menus;
  if (index < 0 || index >= ms.menuEntryCount) return PassFlow::Next;
  const MenuEntry entry = ms.menuEntries[index];
  const MenuLabel& label = menuLabels[entry.label];
  ms.invokingMenu = entry.menu;
  switch (label.kind) {
    case kSubmenu:
      openMenu(ed, label.arg);
      ed.requests.needPresent = 1;
      return PassFlow::ToTools;
    case kCheckbox:
      ed.viewFlags ^= 1u << label.arg;
      if (flagOn(ed, kVertSelector)) ed.tools.tool = kToolVertexEdit;
      ed.requests.needRender = 1;
      return PassFlow::EndPass;
    case kAction:
      return runCommand(ed, static_cast<Action>(label.arg));
    case kField:
      return activateField(ed, index);
    case kPartRow:
    case kPartNameRow:
      return activatePartRow(ed, index);
    case kCaption:
    case kReadout:
      break;
  }
  ed.requests.needPresent = 1;
  return PassFlow::ToTools;
}

PassFlow activateHotKey(Editor& ed, const std::string& key) {
  const MenuState& ms = ed.menus;
  if (key.size() != 1 || key[0] == ' ' || ms.activeMenu < 0) return PassFlow::Next;
  for (int i = 0; i < ms.menuEntryCount; ++i) {
    const MenuEntry& e = ms.menuEntries[i];
    const char hot = menuLabels[e.label].hotKey;
    if (e.menu == ms.activeMenu && hot != ' ' && hot == key[0]) return activateEntry(ed, i);
  }
  return PassFlow::Next;
}
