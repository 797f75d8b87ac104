#include "model/triangle_tools.h"

namespace {

bool isVertex(const Model& m, int32_t v) {
  return v >= 0 && v < m.vertexCount;
}

bool slotsHoldVertices(const Model& m, const ToolState& tools) {
  return isVertex(m, tools.pickSlots[0]) && isVertex(m, tools.pickSlots[1]) &&
         isVertex(m, tools.pickSlots[2]);
}

}  // namespace

EditResult addPickedTriangle(Model& m, const ToolState& tools, uint16_t color) {
  if (!slotsHoldVertices(m, tools)) return {};
  if (m.triangleCount > m.maxt - 1) return {Request::None, kMsgTooManyTriangles};
  const int32_t t = m.triangleCount;
  m.triVerts[t] = Tri{tools.pickSlots[0], tools.pickSlots[1], tools.pickSlots[2]};
  m.triFlags[t] = kSelectedBit;
  m.triColor[t] = color;
  m.triangleCount = t + 1;
  return {Request::Normals, kMsgNone};
}

EditResult manualTriangleClick(Model& m, ToolState& tools, uint16_t color) {
  auto& slots = tools.pickSlots;
  const int32_t p = slots[2];
  // No vertex under the pointer: the click picks nothing.
  if (!isVertex(m, p)) return {};
  if (tools.pickCount == 0) {
    slots[0] = p;
    tools.pickCount = 1;
  } else if (p == slots[0]) {
    // The first pick clicked again is dropped; a second pick moves up.
    slots[0] = slots[1];
    tools.pickCount -= 1;
  } else if (tools.pickCount == 1) {
    slots[1] = p;
    tools.pickCount = 2;
  } else if (p == slots[1]) {
    tools.pickCount = 1;
  } else {
    // A held pick that no longer names a vertex (the model shrank meanwhile) makes no
    // triangle; the click is ignored.
    if (!slotsHoldVertices(m, tools)) return {};
    tools.pickCount = 0;
    return addPickedTriangle(m, tools, color);
  }
  return {};
}

EditResult autoTriangleClick(Model& m, ToolState& tools, uint16_t color) {
  // Fewer than three vertices in view (or none searched yet): nothing to make.
  if (!slotsHoldVertices(m, tools)) return {};
  auto& slots = tools.pickSlots;
  const Vec3 p0 = m.vertexProj[slots[0]];
  const Vec3 p1 = m.vertexProj[slots[1]];
  const Vec3 p2 = m.vertexProj[slots[2]];
  const float d1x = p1.x - p0.x, d1y = p1.y - p0.y;
  const float d2x = p2.x - p1.x, d2y = p2.y - p1.y;
  const float turn = d1x * d2y - d1y * d2x;
  // Same turning sense on screen for every triangle made this way.
  if (turn > 0.0f) {
    const int32_t s = slots[1];
    slots[1] = slots[2];
    slots[2] = s;
  }
  return addPickedTriangle(m, tools, color);
}
