// Command groups the dispatch hands action codes to, by subsystem.
#pragma once

#include "core/editor.h"
#include "core/pass_flow.h"

// Open, Save, save As, exPort stl, Load part from, save To file (codes 1, 2, 3, 11, 31, 32).
PassFlow runFileCommand(Editor& ed, int actionCode);
// Selection, transforms, part groups and colours (codes 14, 15, 16, 17 in menus 11, 12, 13,
// 14, 21 and 27, 19, 20, 21, 22, 23, 34).
PassFlow runEditCommand(Editor& ed, int actionCode);
// Creation, vertex editing, triangle tools, benchmark and cutting (codes 12, 13, 17 in menu
// 24, 24..29, 33, 35, 36, 37).
PassFlow runBuildCommand(Editor& ed, int actionCode);

// What the command of `actionCode` can change in the model (file commands record their own).
ChangeScope commandScope(const Editor& ed, int actionCode);
// The guillotine's: cut points are appended, triangles cut in place, appended and compacted.
ChangeScope sliceScope();
