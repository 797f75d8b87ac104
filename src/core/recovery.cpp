#include "core/recovery.h"

#include "core/open_model.h"
#include "io/model_file.h"
#include "io/recovery_file.h"

namespace {

std::string folderOf(Editor& ed) {
  if (ed.recovery.folder.empty()) ed.recovery.folder = recoveryFolder();
  return ed.recovery.folder;
}

void writeNow(Editor& ed, std::string& messages) {
  RecoveryState& r = ed.recovery;
  r.lastWrite = ed.platform.seconds();
  const std::string folder = folderOf(ed);
  if (folder.empty()) {
    messages += "kovrin: no folder for the recovery file (HOME is not set)\n";
    return;
  }
  const std::string cwd = workingFolder();
  const std::string path = recoveryPath(folder, cwd, ed.currentFile);
  std::string error;
  if (!writeRecoveryFile(ed.model, path, cwd, ed.currentFile, error)) {
    messages += "kovrin: unsaved work not kept: " + error + "\n";
    return;
  }
  // The model may have changed its name since the last write: one recovery file per run.
  if (!r.writtenPath.empty() && r.writtenPath != path && r.writtenPath != r.recoveredFrom)
    removeRecoveryFile(r.writtenPath);
  r.writtenPath = path;
  r.writtenState = ed.history.currentState;
}

}  // namespace

void recoveryOnExit(Editor& ed, std::string& messages) {
  if (modelUnsaved(ed.history)) {
    if (ed.recovery.writtenPath.empty() || ed.recovery.writtenState != ed.history.currentState)
      writeNow(ed, messages);
    return;
  }
  // Undone back to the saved model: what this run kept is no longer needed.
  if (!ed.recovery.writtenPath.empty() && ed.recovery.writtenPath != ed.recovery.recoveredFrom)
    removeRecoveryFile(ed.recovery.writtenPath);
  ed.recovery.writtenPath.clear();
}

void recoveryWhenIdle(Editor& ed, std::string& messages) {
  const RecoveryState& r = ed.recovery;
  if (!modelUnsaved(ed.history)) return;
  if (!r.writtenPath.empty() && r.writtenState == ed.history.currentState) return;
  const double now = ed.platform.seconds();
  if (now - r.lastInput < kRecoveryIdleSeconds || now - r.lastWrite < kRecoveryIdleSeconds) return;
  writeNow(ed, messages);
}

std::string recoveryNotice() {
  const std::string newest = newestRecoveryFile(recoveryFolder());
  if (newest.empty()) return {};
  return "kovrin: unsaved work was kept in " + newest + "; run \"kovrin --recover\" to open it\n";
}

void openNewestRecovery(Editor& ed, std::string& messages) {
  const std::string path = newestRecoveryFile(folderOf(ed));
  if (path.empty()) {
    messages += "kovrin: no recovery file in " + folderOf(ed) + "\n";
    return;
  }
  std::string dir, name;
  if (!readRecoveryName(path, dir, name)) name = "default.rq";
  if (!loadModelFile(ed, path)) {
    messages += "kovrin: could not open the recovery file " + path + "\n";
    return;
  }
  // A name relative to another folder is kept whole, so that Save writes where it belonged.
  if (!name.empty() && name[0] != '/' && !dir.empty() && dir != workingFolder())
    name = dir + "/" + name;
  ed.currentFile = name;
  ed.recovery.recoveredFrom = path;
  markNeverSaved(ed.history);
}
