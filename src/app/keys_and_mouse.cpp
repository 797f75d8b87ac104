// The function keys, the camera keys and the wheel.
#include <algorithm>
#include <cstdlib>

#include "app/tools.h"
#include "model/selection.h"
#include "render/camera_ops.h"
#include "render/fit_view.h"
#include "ui/menus.h"

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
