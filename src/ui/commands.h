// Command groups the dispatch hands actions to (which group handles which action: the table
// in ui/actions.h), and how a command ends its pass.
#pragma once

#include "core/editor.h"
#include "core/pass_flow.h"
#include "ui/actions.h"

// Open, Save, save As, exPort stl, Load part from, save To file.
PassFlow runFileCommand(Editor& ed, Action action);
// Selection, transforms, part groups and colours (the confirm of the move, duplicate,
// rotate, scale, delete and colour menus).
PassFlow runEditCommand(Editor& ed, Action action);
// Creation, vertex editing, triangle tools, benchmark and cutting (the drill's confirm).
PassFlow runBuildCommand(Editor& ed, Action action);

// What the command of `action` can change in the model (file commands record their own).
ChangeScope commandScope(const Editor& ed, Action action);
// The guillotine's: cut points are appended, triangles cut in place, appended and compacted.
ChangeScope sliceScope();
// Move, rotate, scale and the flips: the selection's vertices, kept by the command.
ChangeScope transformScope();
// Delete selection, with or without the vertices only the selection uses.
ChangeScope deleteScope(bool removeVerts);

// How a command ends. "ends": its request is raised and the pass ends.
inline PassFlow ends(Editor& ed, EditResult result) {
  applyResult(ed.requests, result);
  return PassFlow::EndPass;
}

// "continues": its request is raised, the interface is redrawn and the tools still see this
// pass.
inline PassFlow continues(Editor& ed, EditResult result = {}) {
  applyResult(ed.requests, result);
  ed.requests.needPresent = 1;
  return PassFlow::ToTools;
}

// By what the operation did: a change of the model ends the pass, anything else continues.
inline PassFlow byResult(Editor& ed, EditResult result) {
  if (result.request == Request::Render || result.request == Request::Normals)
    return ends(ed, result);
  return continues(ed, result);
}
