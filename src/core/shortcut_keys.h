// Ctrl shortcuts, taken ahead of the menu keys (never while a prompt, the help panel or
// number entry reads the keys themselves).
#pragma once

#include <string>

#include "core/editor.h"

// Runs the shortcut of `key`; returns true when it consumed the key.
bool runShortcutKey(Editor& ed, const std::string& key);
