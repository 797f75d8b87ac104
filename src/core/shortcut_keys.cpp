#include "core/shortcut_keys.h"

#include "core/platform/platform.h"
#include "ui/dispatch.h"

namespace {

struct Shortcut {
  char letter;
  bool shift;
  int actionCode;  // the command's action code, as its menu entry hands it over
};

constexpr Shortcut kShortcuts[] = {
    {'s', false, 2},  // " Save"
    {'o', false, 1},  // " Open"
    {'s', true, 3},   // " save As"
};

}  // namespace

bool runShortcutKey(Editor& ed, const std::string& key) {
  for (const Shortcut& s : kShortcuts) {
    if (key != keys::ctrlKey(s.letter, s.shift)) continue;
    runCommand(ed, s.actionCode);
    return true;
  }
  return false;
}
