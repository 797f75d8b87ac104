// Activating a part-group row: select a group ("By part group"), name it ("part Names"),
// or, in the other menus, nothing but a redraw.
#include "model/groups.h"
#include "model/selection_ops.h"
#include "ui/field_entry.h"
#include "ui/menu_ids.h"
#include "ui/prompt.h"

PassFlow activatePartRow(Editor& ed, int entryIndex) {
  if (entryIndex < 0 || entryIndex >= ed.menus.menuEntryCount) return PassFlow::ToTools;
  const MenuEntry e = ed.menus.menuEntries[entryIndex];
  const int group = e.part;
  if (group < kPartGroups && e.menu == kMenuByPartGroup) {
    const ChangeScope flags = scopeWith(kScopeNone, kHistFlags, Change::Rewrite);
    applyResult(ed.requests, recordStep(ed.history, ed.model, flags, [&] {
                  return selectGroup(ed.model, group, flagOn(ed, kUnselect));
                }));
    return PassFlow::EndPass;
  }
  if (group < kPartGroups && e.menu == kMenuPartNames) {
    const std::string answer = textPrompt(ed, "  enter new part name     ");
    if (ed.requests.quit) return PassFlow::EndPass;  // the window was closed meanwhile
    applyResult(ed.requests, recordStep(ed.history, ed.model, kScopeNone,
                                        [&] { return renamePartGroup(ed.model, group, answer); }));
  }
  ed.requests.needPresent = 1;
  return PassFlow::ToTools;
}
