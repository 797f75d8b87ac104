// Recovery files: unsaved models written as RQ files into the user's state folder, each with a
// small companion file that names the folder and the file the model belonged to.
#pragma once

#include <cstdint>
#include <string>

#include "model/model.h"

// A time before any write: the first idle write is never held back by it.
constexpr double kLongAgo = -1.0e9;

// The recovery file of this run: where unsaved work goes when the program ends or rests.
struct RecoveryState {
  std::string folder;  // "" until first needed: $XDG_STATE_HOME/kovrin or ~/.local/state/kovrin
  std::string writtenPath;      // the recovery file this run wrote last, "" none
  uint64_t writtenState = 0;    // the history state that file holds
  double lastWrite = kLongAgo;  // platform seconds of the last write
  double lastInput = 0.0;       // platform seconds of the last pass with input
  std::string recoveredFrom;    // the recovery file --recover opened, removed once saved
};

// $XDG_STATE_HOME/kovrin when that is an absolute path, else $HOME/.local/state/kovrin;
// "" when neither can be found.
std::string recoveryFolder();

// The recovery file of the model `currentFile` edited in the folder `workingDir`: the file's
// own name followed by a hash of both, ending in ".rq", so editors in different folders never
// share one.
std::string recoveryPath(const std::string& folder, const std::string& workingDir,
                         const std::string& currentFile);

// Writes the model (RQ, replacing the file only once complete) and its companion. On failure
// returns false and a one-line reason in `error`.
bool writeRecoveryFile(const Model& m, const std::string& path, const std::string& workingDir,
                       const std::string& currentFile, std::string& error);

// The companion of a recovery file: the working folder and the current file name it had.
bool readRecoveryName(const std::string& path, std::string& workingDir, std::string& currentFile);

// The most recently written recovery file in `folder`, "" when there is none.
std::string newestRecoveryFile(const std::string& folder);

// Deletes a recovery file and its companion.
void removeRecoveryFile(const std::string& path);
// Deletes the file this run wrote and the one it recovered (after the user saved).
void removeRecoveryFiles(RecoveryState& r);

// The absolute path of the working folder, "" when it cannot be read.
std::string workingFolder();
