#include "ui/file_commands.h"

#include "io/mesh_export.h"
#include "io/model_file.h"
#include "io/recovery_file.h"
#include "io/stl_file.h"
#include "model/part_file.h"
#include "model/selection.h"
#include "ui/commands.h"
#include "ui/prompt.h"

namespace {

// Raises what the operation asks for; operations that changed the model end the pass.
PassFlow finish(Editor& ed, EditResult result) {
  applyResult(ed.requests, result);
  if (result.request == Request::Normals || result.request == Request::Render)
    return PassFlow::EndPass;
  ed.requests.needPresent = 1;
  return PassFlow::ToTools;
}

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
  return finish(ed, r);
}

}  // namespace

std::string_view fileCommandTitle(int actionCode) {
  switch (actionCode) {
    case 1:
      return "  OPEN  - enter filename  ";
    case 3:
      return "  SAVE  - enter filename  ";
    case 11:
      return " export - enter filename  ";
    case 31:
      return " LOAD PART enter filename ";
    case 32:
      return " SAVE PART enter filename ";
    default:
      return {};
  }
}

PassFlow runFileCommandAnswered(Editor& ed, int actionCode, const std::string& answer) {
  Model& m = ed.model;
  switch (actionCode) {
    case 1:  // Open: the normals are recomputed whether or not a file was loaded
      if (answer.empty()) return canceled(ed, true);
      if (recordStep(ed.history, m, kScopeRewrite, [&] { return loadModelFile(ed, answer); }))
        markSaved(ed.history);
      ed.requests.normalsDirty = 1;
      return PassFlow::EndPass;
    case 2:
      return saved(ed, saveModel(m, ed.currentFile), ed.currentFile);
    case 3:
      if (answer.empty()) return canceled(ed, false);
      return saved(ed, saveModel(m, answer), answer);
    case 11:
      if (answer.empty()) return canceled(ed, false);
      return finish(ed, exportModel(m, answer));
    case 31:
      if (answer.empty()) return canceled(ed, false);
      return finish(ed, recordStep(ed.history, m, kScopeAppend,
                                   [&] { return loadPart(m, answer, ed.menus.menuPartGroup[2]); }));
    case 32:
      if (countSelected(m) == 0) return finish(ed, {Request::Present, kMsgNothingSelected});
      if (answer.empty()) return canceled(ed, false);
      return finish(ed, savePart(m, answer));
    default:
      return PassFlow::ToTools;
  }
}

PassFlow runFileCommand(Editor& ed, int actionCode) {
  // "save To file" asks for a name only when there is a selection to write.
  if (actionCode == 32 && countSelected(ed.model) == 0)
    return runFileCommandAnswered(ed, actionCode, {});
  const std::string_view title = fileCommandTitle(actionCode);
  std::string answer;
  if (!title.empty()) {
    answer = textPrompt(ed, title);
    if (ed.requests.quit) return PassFlow::EndPass;  // the window was closed at the prompt
  }
  return runFileCommandAnswered(ed, actionCode, answer);
}
