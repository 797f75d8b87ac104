// Which model arrays each command can change, so that its undo step copies and compares only
// those, or leaves them to the command (Change::Own: the command is handed the history and
// keeps what it overwrites). A command given too narrow a scope would leave rows out of its
// step: the history tests drive every command at random and compare undo and redo against
// snapshots.
#include "ui/commands.h"

namespace {

ChangeScope only(std::initializer_list<HistoryArray> arrays) {
  ChangeScope s = kScopeNone;
  for (const HistoryArray a : arrays) s.arrays[a] = Change::Rewrite;
  return s;
}

ChangeScope confirmScope(const Editor& ed) {
  switch (ed.menus.invokingMenu) {
    case kMenuMove:
    case kMenuRotate:
    case kMenuScale:
      return transformScope();
    case kMenuDuplicate:  // copies appended, the originals' flags may change
      return scopeWith(kScopeAppend, kHistFlags, Change::Rewrite);
    case kMenuDelete:
      return deleteScope(flagOn(ed, kRemoveVerts));
    case kMenuDrill:
      return only({kHistTris, kHistFlags, kHistColors});
    case kMenuChangeColor:
      return only({kHistColors});
    default:
      return kScopeNone;
  }
}

}  // namespace

ChangeScope sliceScope() {
  return {{Change::Append, Change::Own, Change::Rewrite, Change::Own, Change::None}};
}

ChangeScope transformScope() {
  return scopeWith(kScopeNone, kHistVerts, Change::Own);
}

// Triangles are compacted; with remove verts vertices and lines too (the lines, few, compared).
ChangeScope deleteScope(bool removeVerts) {
  const Change verts = removeVerts ? Change::Own : Change::None;
  const Change lines = removeVerts ? Change::Rewrite : Change::None;
  return {{verts, Change::Own, Change::Own, Change::Own, lines}};
}

ChangeScope commandScope(const Editor& ed, Action action) {
  switch (action) {
    case Action::Create:  // appended at the end
      return kScopeAppend;
    case Action::DeleteLastVertex:  // the count drops, its users are compacted away
      return scopeWith(kScopeRewrite, kHistVerts, Change::Append);
    case Action::SelectEntireModel:  // flag bytes only
    case Action::ClearSelection:
    case Action::ReassignTo:
      return only({kHistFlags});
    case Action::FlipX:  // the flips move vertices
    case Action::FlipY:
    case Action::FlipZ:
      return transformScope();
    case Action::MoveVertex:
      return only({kHistVerts});
    case Action::Confirm:
      return confirmScope(ed);
    case Action::New:  // the counts drop, every flag byte is cleared
      return scopeWith(kScopeAppend, kHistFlags, Change::Rewrite);
    case Action::DeleteLastTriangle:  // only the counts drop
    case Action::DeleteLastLine:
      return kScopeAppend;
    case Action::DeleteVertex:  // everything after the vertex moves down
      return kScopeRewrite;
    case Action::SliceXY:  // the guillotine (sliceScope)
    case Action::SliceYZ:
    case Action::SliceXZ:
      return sliceScope();
    case Action::ReverseFaces:
      return only({kHistTris});
    default:  // camera, view, menus, tools, and the file commands (recorded by themselves)
      return kScopeNone;
  }
}
