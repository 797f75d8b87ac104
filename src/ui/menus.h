// Menu entries on screen: drawing, hit test, open/close, activation, keys and dragging.
#pragma once

#include <string>

#include "core/editor.h"
#include "core/pass_flow.h"

// Places the four bar entries (entries 0..3) and resets the focus.
void initMenus(MenuState& ms);
void openMenu(Editor& ed, int menu);
void closeMenu(Editor& ed, int menu);
// Entry under the screen pixel (x, y), or -1; sets hitSide on a hit.
int hitTest(MenuState& ms, int x, int y, int cellHeight);
// Activates entry i by its label's kind; the flow says where the pass continues.
PassFlow activateEntry(Editor& ed, int index);
// The menu keys of the pass (after Alt, F1 and the global keys): Ctrl+F4 or Esc, bar and window
// navigation, Tab, Enter, hot keys.
PassFlow handleMenuKeys(Editor& ed);
PassFlow handleMenuDrag(Editor& ed);   // right-button dragging of menu windows
PassFlow handleMenuClick(Editor& ed);  // left click on an entry
void drawMenus(Editor& ed);
// Activates the first entry of activeMenu whose hot key is `key` (also the "." that a
// mouse-plot click sends).
PassFlow activateHotKey(Editor& ed, const std::string& key);
// A value in the seven-column number format, right-aligned ("big num" when too large).
std::string formatNumber7(float value);
