// What an editing operation asks of the main loop when it returns.
#pragma once

#include <cstdint>

enum class Request : uint8_t {
  None,     // nothing to redraw
  Present,  // redraw the interface over the unchanged frame
  Render,   // render the scene again, then present
  Normals,  // recompute normals, then render and present
};

// Status message numbers (the table lives with the status line).
enum StatusMessage : uint8_t {
  kMsgNone = 0,
  kMsgCanceled = 1,
  kMsgNotRqFile = 2,
  kMsgTooManyVerteces = 3,
  kMsgTooManyTriangles = 4,
  kMsgFileSaved = 5,
  kMsgFileLoaded = 6,
  kMsgTooManyLines = 7,
  kMsgModelCleared = 8,
  kMsgDeleted = 9,
  kMsgWriteFailed = 10,
  kMsgNothingSelected = 11,
  kMsgScreenshotSaved = 12,
  kMsgFileNotFound = 13,
  kMsgDamagedFile = 14,
  kMsgNoFacets = 15,
  kMsgPermissionDenied = 16,
  kMsgUndone = 17,
  kMsgRedone = 18,
  kMsgNothingToUndo = 19,
  kMsgNothingToRedo = 20,
};
constexpr int kStatusMessageCount = 21;

struct EditResult {
  Request request = Request::None;
  uint8_t message = kMsgNone;  // 0 = none
};
