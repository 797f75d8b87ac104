// The mouse tools: what the pointer does in the view each pass, and the work each tool
// does at a present.
#include "app/tools.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/view_options.h"
#include "model/triangle_tools.h"
#include "render/box_select.h"
#include "render/camera_ops.h"
#include "ui/menu_lookup.h"
#include "ui/menus.h"

namespace {

void endTool(Editor& ed) {
  if (ed.tools.tool == kToolVertexEdit) ed.viewFlags &= ~static_cast<uint32_t>(kVertSelector);
  ed.tools.tool = kToolMouselook;
}

// [SECTION] per-pass handling

// Resting tool: drags turn, dolly-zoom or pan the camera, measured from the anchors, or on
// the pass a button went down from where it went down (a move made just before the press is
// no part of the drag).
PassFlow mouselook(Editor& ed) {
  if (flagOn(ed, kLockView)) return PassFlow::Next;
  const InputState& in = ed.input;
  Camera& cam = ed.camera;
  const RenderBuffers& rb = ed.render;
  const int32_t buttons = in.mouseButtons;
  const bool pressed = (in.leftClick | in.rightClick) != 0;
  const int32_t fromX = pressed ? in.pressX : in.anchorX;
  const int32_t fromY = pressed ? in.pressY : in.anchorY;
  if ((buttons & 3) == 3) {
    pan(cam, in.mouseX - fromX, in.mouseY - fromY);
    ed.requests.needRender = 1;
  } else if ((buttons & 1) != 0) {
    orbitDrag(cam, in.cameraSnapshot, in.mouseX, in.mouseY, fromX, fromY, rb.renderWidth,
              rb.renderHeight);
  } else if ((buttons & 2) != 0) {
    dollyZoomDrag(cam, in.cameraSnapshot, in.mouseX, in.mouseY, fromX, fromY, rb.renderHeight);
  }
  if (updateCamera(cam, in.cameraSnapshot)) ed.requests.needRender = 1;
  return PassFlow::Next;
}

// A left click sends "." to the menu the plot was started from.
PassFlow mousePlot(Editor& ed) {
  const InputState& in = ed.input;
  ed.requests.needPresent = 1;
  if (!labelShownOnScreen(ed.menus, kLabelMousePlot)) {
    endTool(ed);
    return PassFlow::Next;
  }
  PassFlow flow = PassFlow::Next;
  if (in.leftClick != 0) {
    ed.menus.activeMenu = ed.tools.plotMenu;
    ed.menus.activeEntry = -1;
    flow = activateHotKey(ed, ".");
  }
  if (in.rightClick != 0 || !flagOn(ed, kMousePlot)) endTool(ed);
  return flow == PassFlow::Restart ? PassFlow::Restart : PassFlow::Next;
}

// Rubber band: while the left button is held the anchors stay where the press began.
PassFlow selectionTool(Editor& ed) {
  const InputState& in = ed.input;
  if (in.rightClick != 0) ed.requests.needPresent = 1;
  if ((in.mouseButtons & 2) != 0) return PassFlow::Next;
  if (in.leftClick != 0) ed.tools.selectDragging = 1;
  if ((in.mouseButtons & 1) != 0) {
    ed.requests.needPresent = 1;
    return PassFlow::Restart;
  }
  if (ed.tools.selectDragging != 0) {
    recordStep(ed.history, ed.model, scopeWith(kScopeNone, kHistFlags, Change::Rewrite), [&] {
      selectRectangle(ed.render, ed.model, ed.camera, viewOptionsFrom(ed.viewFlags),
                      farDepth(ed.fields), in.anchorX, in.anchorY, in.mouseX, in.mouseY);
      return 0;
    });
    ed.requests.needRender = 1;
  }
  return PassFlow::Next;
}

PassFlow triangleTool(Editor& ed) {
  const InputState& in = ed.input;
  ed.requests.needPresent = 1;
  if (in.rightClick != 0) {
    endTool(ed);
    return PassFlow::Next;
  }
  if (in.leftClick != 0) {
    const EditResult r = recordStep(ed.history, ed.model, kScopeAppend, [&] {
      return ed.tools.tool == kToolAutoTriangle
                 ? autoTriangleClick(ed.model, ed.tools.pickSlots, ed.currentColor)
                 : manualTriangleClick(ed.model, ed.tools.pickSlots, ed.tools.pickCount,
                                       ed.currentColor);
    });
    applyResult(ed.requests, r);
  }
  return PassFlow::Next;
}

PassFlow vertexEdit(Editor& ed) {
  const InputState& in = ed.input;
  ed.requests.needPresent = 1;
  if (in.leftClick != 0 || in.rightClick != 0 || !labelShownOnScreen(ed.menus, kLabelVertSelectr))
    endTool(ed);
  return PassFlow::Next;
}

// [SECTION] present work

// Integer screen distance of one axis; far-off projections are held to a range whose square
// still fits.
int64_t roundedOffset(float offset) {
  return std::llrint(std::clamp(offset, -2.0e9f, 2.0e9f));
}

// The three vertices nearest the pointer, nearest first; the lower index wins a tie.
void nearestThree(Editor& ed) {
  ToolState& t = ed.tools;
  const Model& m = ed.model;
  const float depthLimit = farDepth(ed.fields);
  const float cx = static_cast<float>(ed.camera.viewCenterX);
  const float cy = static_cast<float>(ed.camera.viewCenterY);
  const float mx = static_cast<float>(ed.input.mouseX);
  const float my = static_cast<float>(ed.input.mouseY);
  t.pickDist.fill(kPickStartDistance);
  t.pickSlots.fill(-1);
  for (int32_t i = 0; i < m.vertexCount; ++i) {
    const Vec3 p = m.vertexProj[i];
    if (!(p.z >= 1.0f && p.z <= depthLimit)) continue;
    const int64_t dx = roundedOffset(p.x + cx - mx);
    const int64_t dy = roundedOffset(p.y + cy - my);
    float d = static_cast<float>(dx * dx + dy * dy);
    int32_t index = i;
    for (int k = 0; k < 3; ++k) {
      if (d < t.pickDist[k]) {
        std::swap(d, t.pickDist[k]);
        std::swap(index, t.pickSlots[k]);
      }
    }
  }
}

void plotPresentWork(Editor& ed) {
  const InputState& in = ed.input;
  Fields& f = ed.fields;
  f.displayValues[kFieldScreenX] = in.mouseX;
  f.displayValues[kFieldScreenY] = in.mouseY;
  const int32_t target = ed.tools.plotTarget;
  // Only the X of a point 1..4 is a valid target (its Y and Z follow it).
  if (target < 0 || target > kX4) return;
  const RenderBuffers& rb = ed.render;
  if (in.mouseX > rb.renderMaxX || in.mouseY > rb.renderMaxY) return;
  const size_t at = static_cast<size_t>(in.mouseY) * static_cast<size_t>(rb.renderWidth) +
                    static_cast<size_t>(in.mouseX);
  if (at >= rb.depthBuffer.size()) return;
  Vec3 world{};
  if (!unprojectPixel(ed.camera, farDepth(f), in.mouseX, in.mouseY, rb.depthBuffer[at], world))
    return;
  f.floatFields[target] = world.x;
  f.floatFields[target + 1] = world.y;
  f.floatFields[target + 2] = world.z;
}

void pickUnderPointer(Editor& ed) {
  ToolState& t = ed.tools;
  t.pickSlots[2] = pickNearestVertex(ed.model, ed.camera, farDepth(ed.fields), ed.input.mouseX,
                                     ed.input.mouseY, t.pickSlots[2]);
}

}  // namespace

PassFlow handleTool(Editor& ed) {
  switch (ed.tools.tool) {
    case kToolMouselook:
      return mouselook(ed);
    case kToolMousePlot:
      return mousePlot(ed);
    case kToolSelection:
      return selectionTool(ed);
    case kToolAutoTriangle:
    case kToolManualTriangle:
      return triangleTool(ed);
    case kToolVertexEdit:
      return vertexEdit(ed);
    default:
      return PassFlow::Next;  // the benchmark is served before all other input
  }
}

void toolPresentWork(Editor& ed) {
  switch (ed.tools.tool) {
    case kToolMousePlot:
      plotPresentWork(ed);
      break;
    case kToolAutoTriangle:
      if (ed.model.vertexCount > 0) nearestThree(ed);
      break;
    case kToolManualTriangle:
      pickUnderPointer(ed);
      break;
    case kToolVertexEdit: {
      pickUnderPointer(ed);
      const int32_t v = ed.tools.pickSlots[2];
      if (v >= 0 && v < ed.model.vertexCount) {
        const Vec3 p = ed.model.vertexPos[v];
        ed.fields.floatFields[kX1] = p.x;
        ed.fields.floatFields[kY1] = p.y;
        ed.fields.floatFields[kZ1] = p.z;
      }
      break;
    }
    default:
      break;
  }
}
