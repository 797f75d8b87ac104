// Small queries and repairs on the list of menu entries, shared by drawing and input.
#pragma once

#include "core/menu_state.h"

// Index of the first entry (list order) of a menu, or -1 when it is not on screen.
int firstEntryOf(const MenuState& ms, int menu);
// A focused menu without a highlighted entry gets its first entry; a focused menu with no
// entry loses the focus.
void repairFocus(MenuState& ms);
