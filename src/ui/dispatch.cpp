// Actions to commands. Quit, close, the view presets and the screenshot are carried out here;
// every other action goes to the command group the table in ui/actions.h names.
#include "ui/dispatch.h"

#include "io/screenshot.h"
#include "render/camera_ops.h"
#include "ui/commands.h"
#include "ui/menus.h"

namespace {

PassFlow viewPreset(Editor& ed, ViewPreset preset) {
  setViewPreset(ed.camera, preset);  // works with the view locked too
  ed.requests.needRender = 1;
  return PassFlow::EndPass;
}

// The actions the dispatch carries out itself.
PassFlow runDispatchCommand(Editor& ed, Action action) {
  switch (action) {
    case Action::Quit:  // at once, nothing asked, nothing saved
      ed.requests.quit = true;
      return PassFlow::EndPass;
    case Action::CloseMenu:
      closeMenu(ed, ed.menus.invokingMenu);
      return continues(ed);
    case Action::FrontView:
      return viewPreset(ed, ViewPreset::Front);
    case Action::BackView:
      return viewPreset(ed, ViewPreset::Back);
    case Action::TopView:
      return viewPreset(ed, ViewPreset::Top);
    case Action::BottomView:
      return viewPreset(ed, ViewPreset::Bottom);
    case Action::LeftView:
      return viewPreset(ed, ViewPreset::Left);
    case Action::RightView:
      return viewPreset(ed, ViewPreset::Right);
    case Action::SaveScreenshot:
      applyResult(ed.requests, saveScreenshot(ed.render.frameBuffer.data(), ed.render.renderWidth,
                                              ed.render.renderHeight, ed.shotCounter));
      ed.requests.needPresent = 1;
      return PassFlow::EndPass;
    default:
      return continues(ed);
  }
}

PassFlow dispatchCommand(Editor& ed, Action action) {
  switch (commandGroupOf(action, ed.menus.invokingMenu)) {
    case CommandGroup::Dispatch:
      return runDispatchCommand(ed, action);
    case CommandGroup::File:
      return runFileCommand(ed, action);
    case CommandGroup::Edit:
      return runEditCommand(ed, action);
    case CommandGroup::Build:
      return runBuildCommand(ed, action);
    case CommandGroup::None:
      break;
  }
  return continues(ed);
}

}  // namespace

PassFlow runCommand(Editor& ed, Action action) {
  const ChangeScope scope = commandScope(ed, action);
  return recordStep(ed.history, ed.model, scope, [&] { return dispatchCommand(ed, action); });
}
