// The menu vocabulary: 132 labels and the 28 menu definitions, all constant data.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/menu_state.h"

// What an entry showing a label is, and so what activating it does.
enum LabelKind : uint8_t {
  kCaption = 0,      // nothing to do
  kSubmenu = 1,      // argument: the menu it opens (1..28)
  kCheckbox = 2,     // argument: the option bit of viewFlags it flips (0..14)
  kAction = 3,       // argument: the action code it runs (0..38)
  kReadout = 4,      // argument: the field code of the integer it shows
  kField = 5,        // argument: the field code typed in place
  kPartRow = 6,      // one part group (number and name)
  kPartNameRow = 7,  // one part group whose name can be changed
};

constexpr int kLabelCount = 132;
constexpr int kLabelTextLength = 16;

struct MenuLabel {
  std::array<char, kLabelTextLength> text{};  // padded with blanks on the right
  uint8_t width = 16;                         // columns shown: 8 on the bar, else 16
  LabelKind kind = kCaption;
  uint8_t arg = 0;
  char hotKey = ' ';  // blank: none

  std::string_view textView() const { return {text.data(), text.size()}; }
  std::string_view shown() const { return {text.data(), width}; }
};

extern const std::array<MenuLabel, kLabelCount> menuLabels;

// One menu definition: anchor cell of the first entry and its labels top to bottom.
struct MenuDef {
  int column = 0;
  int row = 0;
  std::span<const uint8_t> labels;
};

// Definition of menu 1..28 (read from the packed data through menuDefStart).
MenuDef menuDef(int menu);
// Index into the packed definitions of each menu's record (entry 0 unused).
const std::array<int, kMenuCount + 1>& menuDefStartTable();

// The bar: four entries at row 2, each 8 columns wide, opening menus 1..4.
constexpr int kBarRow = 2;
constexpr std::array<int, 4> kBarColumns = {2, 12, 22, 32};
