// Which model arrays each command can change, so that its undo step copies and compares only
// those. A command given too narrow a scope would leave rows out of its step: the history
// tests drive every command at random and compare undo and redo against snapshots.
#include "ui/commands.h"

namespace {

enum ScopeMenu : int {
  kMenuMove = 11,
  kMenuDuplicate = 12,
  kMenuRotate = 13,
  kMenuScale = 14,
  kMenuDelete = 21,
  kMenuDrill = 24,
  kMenuChangeColor = 27,
};

ChangeScope only(std::initializer_list<HistoryArray> arrays) {
  ChangeScope s = kScopeNone;
  for (const HistoryArray a : arrays) s.arrays[a] = Change::Rewrite;
  return s;
}

// Delete the selection: triangles are compacted; with remove verts vertices and lines too.
ChangeScope deleteScope(const Editor& ed) {
  if (flagOn(ed, kRemoveVerts)) return kScopeRewrite;
  return only({kHistTris, kHistFlags, kHistColors});
}

ChangeScope confirmScope(const Editor& ed) {
  switch (ed.menus.invokingMenu) {
    case kMenuMove:
    case kMenuRotate:
    case kMenuScale:
      return only({kHistVerts});
    case kMenuDuplicate:  // copies appended, the originals' flags may change
      return scopeWith(kScopeAppend, kHistFlags, Change::Rewrite);
    case kMenuDelete:
      return deleteScope(ed);
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
  return scopeWith(scopeWith(kScopeRewrite, kHistVerts, Change::Append), kHistLines, Change::None);
}

ChangeScope commandScope(const Editor& ed, int actionCode) {
  switch (actionCode) {
    case 12:  // ".... create ....": appended at the end
      return kScopeAppend;
    case 13:  // "Delete last vert": the count drops, its users are compacted away
      return scopeWith(kScopeRewrite, kHistVerts, Change::Append);
    case 14:  // select all, clear selection, reassign: flag bytes
    case 15:
    case 20:
      return only({kHistFlags});
    case 16:  // the flips move vertices
    case 22:
    case 23:
    case 35:  // "Move vert"
      return only({kHistVerts});
    case 17:
      return confirmScope(ed);
    case 18:  // " New": the counts drop, every flag byte is cleared
      return scopeWith(kScopeAppend, kHistFlags, Change::Rewrite);
    case 24:  // "delete last Tri", "deLete last line": only the counts drop
    case 25:
      return kScopeAppend;
    case 26:  // "Delete vert": everything after the vertex moves down
      return kScopeRewrite;
    case 29:  // the guillotine: cut points appended, triangles cut, appended and compacted
    case 36:
    case 37:
      return sliceScope();
    case 34:  // "reverse fAces"
      return only({kHistTris});
    default:  // camera, view, menus, tools, and the file commands (recorded by themselves)
      return kScopeNone;
  }
}
