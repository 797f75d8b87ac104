// Opening a model file into the editor: the load with its progress line, then the current
// file name, the colour option and the status message.
#include "core/open_model.h"

#include "io/model_file.h"

bool loadModelFile(Editor& ed, const std::string& name) {
  Platform& p = ed.platform;
  double lastRefresh = -1.0;
  // The line is drawn only when the window is about to show it (at most ~30 times a second)
  // and for the last group of facets, which stays on the screen until the next present:
  // the lines in between would never be seen, and drawing each costs more than its facets.
  const ImportProgress progress = [&](int32_t i, int32_t n) {
    const double now = p.seconds();
    const bool show = lastRefresh < 0.0 || now - lastRefresh >= 1.0 / 30.0;
    if (!show && i < n - kProgressStep) return;
    p.setTextCursor(23, 1);
    p.setTextColors(ed.uiColors[kUiStatusText], ed.uiColors[kUiStatusBack]);
    p.print(importProgressText(i, n));
    if (show) {
      p.refresh();
      lastRefresh = now;
    }
  };
  const ModelLoad load = loadModel(ed.model, name, progress);
  if (load.rqFile) ed.currentFile = name;
  if (load.rqFile || load.meshFile) {
    ed.viewFlags &= ~static_cast<uint32_t>(kModelColors);
    if (load.modelColors) ed.viewFlags |= kModelColors;
  }
  // An imported model takes the imported file's name, so that Save never writes over the
  // model that was open before.
  const bool imported = !load.rqFile && load.result.request == Request::Normals &&
                        load.result.message != kMsgDamagedFile;
  if (imported) ed.currentFile = importedModelName(name);
  if (load.result.message != kMsgNone) ed.requests.statusMessage = load.result.message;
  return load.rqFile || imported;
}
