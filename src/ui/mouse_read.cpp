// The mouse read of every pass (and of the modal number entry).
#include "ui/mouse_read.h"

#include <algorithm>

namespace {

// Screen pixels to frame pixels by the detail level: halved at 0, doubled at 2.
int32_t toFramePixels(int32_t screen, int rdet) {
  if (rdet == 0) return screen >> 1;
  if (rdet == 2) return screen * 2;
  return screen;
}

}  // namespace

void readMouse(Editor& ed) {
  InputState& in = ed.input;
  in.prevMouseButtons = in.mouseButtons;
  in.prevMouseWheel = in.mouseWheel;
  in.prevMouseX = in.mouseX;
  in.prevMouseY = in.mouseY;

  const MouseReport report = ed.platform.readMouse();
  in.mouseScreenX = report.x;
  in.mouseScreenY = report.y;
  in.mouseWheel = report.wheel;
  in.mouseButtons = report.buttons;
  in.mouseX = toFramePixels(report.x, ed.rdet);
  in.mouseY = toFramePixels(report.y, ed.rdet);

  in.leftClick = 0;
  in.rightClick = 0;
  if (in.mouseButtons == -1) in.mouseButtons = 0;  // pointer outside the window
  if ((in.prevMouseButtons & 1) == 0) in.leftClick = static_cast<uint8_t>(in.mouseButtons & 1);
  if ((in.prevMouseButtons & 2) == 0) in.rightClick = static_cast<uint8_t>(in.mouseButtons & 2);

  const int32_t maxX = std::max(0, ed.render.renderMaxX), maxY = std::max(0, ed.render.renderMaxY);
  in.mouseX = std::clamp(in.mouseX, 0, maxX);
  in.mouseY = std::clamp(in.mouseY, 0, maxY);

  // A click measures from where its button went down; without a press position from the
  // platform, from where the pointer is now.
  in.pressX = in.mouseX;
  in.pressY = in.mouseY;
  if ((in.leftClick | in.rightClick) != 0 && report.pressX >= 0 && report.pressY >= 0) {
    in.pressX = std::clamp(toFramePixels(report.pressX, ed.rdet), 0, maxX);
    in.pressY = std::clamp(toFramePixels(report.pressY, ed.rdet), 0, maxY);
  }

  // The wheel only turns while the pointer is over the window, which is also when its
  // position is reported.
  in.wheelNotches = 0;
  if (report.buttons != -1) {
    in.wheelNotches = report.wheel - in.wheelBase;
    in.wheelBase = report.wheel;
  }
}
