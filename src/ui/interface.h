// Status lines, tool line, status message, help panel.
#pragma once

#include "core/editor.h"

// Everything drawn over the frame at a present: file line, tool line, markers, menus and
// the status message.
void drawInterface(Editor& ed);
// F1: the help panel; waits for a key and swallows it.
void showHelp(Editor& ed);
// The 25-character record of a status message.
const char* statusMessageText(int number);
