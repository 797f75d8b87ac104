// Ctrl shortcuts: keys that run a command whatever has the keyboard focus. The loop asks
// here before the menu keys see a key; the modal steps (prompt, help panel, number entry)
// read their keys themselves and never get here.
#pragma once

#include <string>

#include "core/editor.h"

// Runs the command of a shortcut key: Ctrl+S " Save", Ctrl+O " Open" (its prompt),
// Ctrl+Shift+S " save As"; Ctrl+Z undo, Ctrl+Y and Ctrl+Shift+Z redo. True when the key was
// one of them.
bool runShortcutKey(Editor& ed, const std::string& key);
