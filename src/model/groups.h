// Part groups and colours: stepping a menu's current group, moving the selection into a
// group, colouring the selection, naming a group.
#pragma once

#include <string_view>

#include "model/edit_result.h"
#include "model/model.h"

// The group after stepping `group` by `side` (-1, 0 or +1): below 0 wraps to 99, 100 to 0.
int stepPartGroup(int group, int side);
// "reassigN to": every selected triangle's flag byte becomes 128 + group (still selected).
EditResult reassignSelection(Model& m, int group);
// "....confirm....." of "Change color": the colour word of the three channels (low five bits
// of each) into every selected triangle; nothing on an empty model.
EditResult colourSelection(Model& m, int32_t red, int32_t green, int32_t blue);
// A "part Names" row: the first 12 characters of the answer name the group; an empty answer
// leaves it without a name.
EditResult renamePartGroup(Model& m, int group, std::string_view answer);
