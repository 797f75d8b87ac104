// Where a step of the main-loop pass continues.
#pragma once

enum class PassFlow {
  Next,     // go on with the next step of the pass
  ToTools,  // continue at the tool handling (with needPresent raised)
  EndPass,  // continue at the end-of-pass snapshot
  Restart,  // back to the loop top without the end-of-pass snapshot
};
