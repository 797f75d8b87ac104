#include "ui/file_commands.h"

#include "core/open_model.h"
#include "io/mesh_export.h"
#include "io/model_file.h"
#include "io/part_file.h"
#include "io/recovery_file.h"
#include "io/stl_file.h"
#include "model/selection.h"
#include "ui/commands.h"
#include "ui/prompt.h"

namespace {

PassFlow canceled(Editor& ed, bool endsPass) {
  ed.requests.statusMessage = kMsgCanceled;
  ed.requests.needPresent = 1;
  if (endsPass) ed.requests.normalsDirty = 1;
  return endsPass ? PassFlow::EndPass : PassFlow::ToTools;
}

// A save that worked makes the model the file's, and the recovery copy is no longer needed.
PassFlow saved(Editor& ed, EditResult r, const std::string& name) {
  if (r.message == kMsgFileSaved) {
    ed.currentFile = name;
    markSaved(ed.history);
    removeRecoveryFiles(ed.recovery);
  }
  return byResult(ed, r);
}

}  // namespace

std::string_view fileCommandTitle(Action action) {
  switch (action) {
    case Action::Open:
      return "  OPEN  - enter filename  ";
    case Action::SaveAs:
      return "  SAVE  - enter filename  ";
    case Action::ExportStl:
      return " export - enter filename  ";
    case Action::LoadPart:
      return " LOAD PART enter filename ";
    case Action::SavePart:
      return " SAVE PART enter filename ";
    default:
      return {};
  }
}

PassFlow runFileCommandAnswered(Editor& ed, Action action, const std::string& answer) {
  Model& m = ed.model;
  switch (action) {
    case Action::Open:  // the normals are recomputed whether or not a file was loaded
      if (answer.empty()) return canceled(ed, true);
      if (recordStep(ed.history, m, kScopeRewrite, [&] { return loadModelFile(ed, answer); }))
        markSaved(ed.history);
      ed.requests.normalsDirty = 1;
      return PassFlow::EndPass;
    case Action::Save:
      return saved(ed, saveModel(m, ed.currentFile), ed.currentFile);
    case Action::SaveAs:
      if (answer.empty()) return canceled(ed, false);
      return saved(ed, saveModel(m, answer), answer);
    case Action::ExportStl:
      if (answer.empty()) return canceled(ed, false);
      return byResult(ed, exportModel(m, answer));
    case Action::LoadPart:
      if (answer.empty()) return canceled(ed, false);
      return byResult(ed, recordStep(ed.history, m, kScopeAppend, [&] {
                        return loadPart(m, answer, ed.menus.menuPartGroup[kMenuEdit]);
                      }));
    case Action::SavePart:
      if (countSelected(m) == 0) return byResult(ed, {Request::Present, kMsgNothingSelected});
      if (answer.empty()) return canceled(ed, false);
      return byResult(ed, savePart(m, answer));
    default:
      return PassFlow::ToTools;
  }
}

PassFlow runFileCommand(Editor& ed, Action action) {
  // "save To file" asks for a name only when there is a selection to write.
  if (action == Action::SavePart && countSelected(ed.model) == 0)
    return runFileCommandAnswered(ed, action, {});
  const std::string_view title = fileCommandTitle(action);
  std::string answer;
  if (!title.empty()) {
    answer = textPrompt(ed, title);
    if (ed.requests.quit) return PassFlow::EndPass;  // the window was closed at the prompt
  }
  return runFileCommandAnswered(ed, action, answer);
}
