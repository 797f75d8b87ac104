// Action codes to commands. The File-menu's own commands, quit, close and the view presets
// are carried out here; every other code goes to the command group that owns it.
#include "ui/dispatch.h"

#include "io/screenshot.h"
#include "render/camera_ops.h"
#include "ui/commands.h"
#include "ui/menus.h"

namespace {

constexpr int kMenuDrill = 24;

PassFlow viewPreset(Editor& ed, ViewPreset preset) {
  setViewPreset(ed.camera, preset);  // works with the view locked too
  ed.requests.needRender = 1;
  return PassFlow::EndPass;
}

PassFlow presentAndContinue(Editor& ed) {
  ed.requests.needPresent = 1;
  return PassFlow::ToTools;
}

PassFlow dispatchCommand(Editor& ed, int actionCode) {
  switch (actionCode) {
    case 0:  // Quit: at once, nothing asked, nothing saved
      ed.requests.quit = true;
      return PassFlow::EndPass;
    case 4:
      closeMenu(ed, ed.menus.invokingMenu);
      return presentAndContinue(ed);
    case 5:
      return viewPreset(ed, ViewPreset::Front);
    case 6:
      return viewPreset(ed, ViewPreset::Back);
    case 7:
      return viewPreset(ed, ViewPreset::Top);
    case 8:
      return viewPreset(ed, ViewPreset::Bottom);
    case 9:
      return viewPreset(ed, ViewPreset::Left);
    case 10:
      return viewPreset(ed, ViewPreset::Right);
    case 38:
      applyResult(ed.requests, saveScreenshot(ed.render, ed.shotCounter));
      ed.requests.needPresent = 1;
      return PassFlow::EndPass;
    case 1:
    case 2:
    case 3:
    case 11:
    case 31:
    case 32:
      return runFileCommand(ed, actionCode);
    case 14:
    case 15:
    case 16:
    case 19:
    case 20:
    case 21:
    case 22:
    case 23:
    case 34:
      return runEditCommand(ed, actionCode);
    case 12:
    case 13:
    case 18:  // " New"
    case 24:
    case 25:
    case 26:
    case 27:
    case 28:
    case 29:
    case 33:
    case 35:
    case 36:
    case 37:
      return runBuildCommand(ed, actionCode);
    case 17:
      if (ed.menus.invokingMenu == kMenuDrill) return runBuildCommand(ed, actionCode);
      return runEditCommand(ed, actionCode);
    default:  // 30 and anything unknown
      return presentAndContinue(ed);
  }
}

}  // namespace

PassFlow runCommand(Editor& ed, int actionCode) {
  const ChangeScope scope = commandScope(ed, actionCode);
  return recordStep(ed.history, ed.model, scope, [&] { return dispatchCommand(ed, actionCode); });
}
