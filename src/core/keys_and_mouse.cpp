// The mouse read of every pass, the function keys, the camera keys and the wheel.
#include <algorithm>
#include <cstdlib>

#include "core/tools.h"
#include "model/selection.h"
#include "render/camera_ops.h"
#include "render/fit_view.h"
#include "ui/menus.h"

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

PassFlow handleGlobalKeys(Editor& ed) {
  const std::string& key = ed.input.keyPressed;
  struct PanelKey {
    const std::string& key;
    int menu;
  };
  const PanelKey panels[] = {{keys::kF2, 15}, {keys::kF3, 10}, {keys::kF4, 22}, {keys::kF5, 23}};
  for (const PanelKey& p : panels) {
    if (key == p.key) {
      openMenu(ed, p.menu);
      ed.requests.needPresent = 1;
      return PassFlow::ToTools;
    }
  }
  if (key == keys::kF6) {
    recordStep(ed.history, ed.model, scopeWith(kScopeNone, kHistFlags, Change::Rewrite), [&] {
      invertSelection(ed.model);
      return 0;
    });
    ed.requests.needRender = 1;
    return PassFlow::EndPass;
  }
  if (key == keys::kClose) {
    ed.requests.quit = true;  // at once, nothing saved
    return PassFlow::EndPass;
  }
  return PassFlow::Next;
}

void handleWheelZoom(Editor& ed) {
  if (ed.input.wheelNotches == 0 || flagOn(ed, kLockView)) return;
  // Each notch is one press of End (up) or Home (down); a burst beyond this is cut short.
  constexpr int32_t kMostNotches = 64;
  const int32_t notches = std::clamp(ed.input.wheelNotches, -kMostNotches, kMostNotches);
  Camera& cam = ed.camera;
  for (int32_t i = 0; i < std::abs(notches); ++i) {
    scaleZoom(cam, notches > 0 ? 1.1f : 0.9f);
    updateCamera(cam, ed.input.cameraSnapshot);
  }
  if (updateCamera(cam, ed.input.cameraSnapshot)) ed.requests.needRender = 1;
}

PassFlow handleCameraKeys(Editor& ed) {
  if (flagOn(ed, kLockView) || ed.menus.activeMenu != -1) return PassFlow::Next;
  const std::string& key = ed.input.keyPressed;
  Camera& cam = ed.camera;
  Platform& p = ed.platform;
  bool moved = false;
  const auto rotate = [&](RotateDir dir) {
    const bool shift = p.keyHeld(kScanLeftShift) || p.keyHeld(kScanRightShift);
    stepRotate(cam, dir, shift);
    moved = true;
  };
  if (key == keys::kUp) {
    rotate(RotateDir::Up);
  } else if (key == keys::kLeft) {
    rotate(RotateDir::Left);
  } else if (key == keys::kRight) {
    rotate(RotateDir::Right);
  } else if (key == keys::kDown) {
    rotate(RotateDir::Down);
  } else if (key == keys::kPgUp) {
    scaleDistance(cam, 0.9f);
    moved = true;
  } else if (key == keys::kPgDn) {
    scaleDistance(cam, 1.1f);
    moved = true;
  } else if (key == keys::kHome) {
    scaleZoom(cam, 0.9f);
    moved = true;
  } else if (key == keys::kEnd) {
    scaleZoom(cam, 1.1f);
    moved = true;
  } else if (key == "f") {  // fit view: the model centred, filling the frame
    fitViewAndDepth(cam, ed.fields, ed.model, ed.render.renderWidth, ed.render.renderHeight);
    ed.requests.needRender = 1;
    return PassFlow::ToTools;
  }
  if (!moved) return PassFlow::Next;
  if (updateCamera(cam, ed.input.cameraSnapshot)) {
    ed.requests.needRender = 1;
    return PassFlow::ToTools;
  }
  return PassFlow::Next;
}
