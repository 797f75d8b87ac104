// Work is requested, not done on the spot: anyone raises these, the main loop serves them.
#pragma once

#include <cstdint>

#include "model/edit_result.h"

struct LoopRequests {
  uint8_t normalsDirty = 0;   // geometry changed: normals, then render, then present
  uint8_t needRender = 0;     // render the scene again, then present
  uint8_t needPresent = 0;    // show the frame and redraw the interface
  uint8_t statusMessage = 0;  // message shown by the next present, 0 none
  bool quit = false;          // Quit or the window close request: leave the loop with 0
};

inline void applyResult(LoopRequests& r, EditResult result) {
  switch (result.request) {
    case Request::Normals:
      r.normalsDirty = 1;
      break;
    case Request::Render:
      r.needRender = 1;
      break;
    case Request::Present:
      r.needPresent = 1;
      break;
    case Request::None:
      break;
  }
  if (result.message != kMsgNone) {
    r.statusMessage = result.message;
    r.needPresent = 1;
  }
}
