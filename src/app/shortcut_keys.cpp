#include "app/shortcut_keys.h"

#include "core/platform/platform.h"
#include "ui/dispatch.h"

namespace {

struct Shortcut {
  char letter;
  bool shift;
  Action action;  // the command its menu entry runs
};

constexpr Shortcut kShortcuts[] = {
    {'s', false, Action::Save},
    {'o', false, Action::Open},
    {'s', true, Action::SaveAs},
};

// Ctrl+Z: one step back.
void undoKey(Editor& ed) {
  const bool done = undoStep(ed.history, ed.model);
  ed.requests.statusMessage = done ? kMsgUndone : kMsgNothingToUndo;
  ed.requests.needPresent = 1;
  if (done) ed.requests.normalsDirty = 1;
}

// Ctrl+Y and Ctrl+Shift+Z: one step forward.
void redoKey(Editor& ed) {
  const bool done = redoStep(ed.history, ed.model);
  ed.requests.statusMessage = done ? kMsgRedone : kMsgNothingToRedo;
  ed.requests.needPresent = 1;
  if (done) ed.requests.normalsDirty = 1;
}

}  // namespace

bool runShortcutKey(Editor& ed, const std::string& key) {
  if (key == keys::ctrlKey('z')) {
    undoKey(ed);
    return true;
  }
  if (key == keys::ctrlKey('y') || key == keys::ctrlKey('z', true)) {
    redoKey(ed);
    return true;
  }
  for (const Shortcut& s : kShortcuts) {
    if (key != keys::ctrlKey(s.letter, s.shift)) continue;
    runCommand(ed, s.action);
    return true;
  }
  return false;
}
