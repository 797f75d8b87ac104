// The menu entries on screen and the keyboard focus.
#pragma once

#include <array>
#include <cstdint>

struct MenuEntry {
  uint8_t column = 0;  // text column of the first character (from 1)
  uint8_t row = 0;     // text row (from 1)
  uint8_t width = 0;   // columns occupied
  uint8_t label = 0;   // label number 0..131
  uint8_t menu = 0;    // 0 for the menu bar, else 1..28
  uint8_t part = 0;    // part rows: the group shown at the last draw
};

constexpr int kMenuCount = 28;
// The bar's four entries plus every entry of all 28 menus: the list can never overflow.
constexpr int kMaxMenuEntries = 4 + 265;

struct MenuState {
  std::array<MenuEntry, kMaxMenuEntries> menuEntries{};
  int menuEntryCount = 0;
  int16_t activeMenu = -1;   // -1 no focus, 0 the bar, 1..28 a window
  int16_t activeEntry = -1;  // highlighted entry index, -1 none
  uint8_t invokingMenu = 0;  // menu of the entry activated last
  int16_t hitSide = 0;       // -1 left half, +1 right half at the last hit, 0 before any
  uint8_t dragMenu = 0;      // menu dragged with the right button, 0 none
  std::array<uint8_t, kMenuCount + 1> menuPartGroup{};   // first group a menu's part rows show
  std::array<uint8_t, kMenuCount + 1> menuPartCursor{};  // per-menu copy used while drawing
  uint8_t menuClicked = 0;  // a left click hit an entry and the button is still down
};
