// Mouse, key and tool state of the main loop.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "render/camera.h"

enum Tool : uint8_t {
  kToolMouselook = 0,
  kToolMousePlot = 1,
  kToolSelection = 2,
  kToolAutoTriangle = 3,
  kToolManualTriangle = 4,
  kToolBenchmark = 5,
  kToolVertexEdit = 6,
};

struct InputState {
  std::string keyPressed;  // key of this pass: "", one character, or 255 + scan code
  int32_t mouseScreenX = -1, mouseScreenY = -1;  // screen pixels as reported
  int32_t mouseWheel = 0;
  int32_t mouseButtons = 0;        // 1 left, 2 right
  int32_t mouseX = 0, mouseY = 0;  // frame pixels, clamped
  int32_t prevMouseX = 0, prevMouseY = 0, prevMouseButtons = 0, prevMouseWheel = 0;
  uint8_t leftClick = 0;   // 1 on the pass the left button went down
  uint8_t rightClick = 0;  // 2 on the pass the right button went down
  // On a pass with a click: where the button went down, in frame pixels (clamped). A drag
  // that starts on this pass measures from here rather than from the anchors.
  int32_t pressX = 0, pressY = 0;
  // Wheel notches since the previous read inside the window (up positive), and the wheel
  // position they are counted from.
  int32_t wheelNotches = 0, wheelBase = 0;
  bool altWasDown = false;  // Alt state at the previous pass (press edge)
  // End-of-pass snapshot: drags measure from here.
  int32_t anchorX = 0, anchorY = 0, anchorScreenX = 0, anchorScreenY = 0;
  CameraSnapshot cameraSnapshot;
};

struct ToolState {
  uint8_t tool = kToolMouselook;
  std::array<int32_t, 3> pickSlots{-1, -1, -1};
  std::array<float, 3> pickDist{};
  int32_t pickCount = 0;
  int32_t plotTarget = -1;  // index in floatFields of the plotted point's x, or -1
  uint8_t plotMenu = 0;
  uint8_t selectDragging = 0;
  double fpsStart = 0.0;
  double fpsFrames = 0.0;
};
