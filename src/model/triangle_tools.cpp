#include "model/triangle_tools.h"

namespace {

bool isVertex(const Model& m, int32_t v) {
  return v >= 0 && v < m.vertexCount;
}

bool slotsHoldVertices(const Model& m, const std::array<int32_t, 3>& slots) {
  return isVertex(m, slots[0]) && isVertex(m, slots[1]) && isVertex(m, slots[2]);
}

}  // namespace

EditResult addPickedTriangle(Model& m, const std::array<int32_t, 3>& slots, uint16_t color) {
  if (!slotsHoldVertices(m, slots)) return {};
  if (m.triangleCount > m.maxt - 1) return {Request::None, kMsgTooManyTriangles};
  const int32_t t = m.triangleCount;
  m.triVerts[t] = Tri{slots[0], slots[1], slots[2]};
  m.triFlags[t] = kSelectedBit;
  m.triColor[t] = color;
  m.triangleCount = t + 1;
  return {Request::Normals, kMsgNone};
}

EditResult manualTriangleClick(Model& m, std::array<int32_t, 3>& slots, int32_t& pickCount,
                               uint16_t color) {
  const int32_t p = slots[2];
  // No vertex under the pointer: the click picks nothing.
  if (!isVertex(m, p)) return {};
  if (pickCount == 0) {
    slots[0] = p;
    pickCount = 1;
  } else if (p == slots[0]) {
    // The first pick clicked again is dropped; a second pick moves up.
    slots[0] = slots[1];
    pickCount -= 1;
  } else if (pickCount == 1) {
    slots[1] = p;
    pickCount = 2;
  } else if (p == slots[1]) {
    pickCount = 1;
  } else {
    // A held pick that no longer names a vertex (the model shrank meanwhile) makes no
    // triangle; the click is ignored.
    if (!slotsHoldVertices(m, slots)) return {};
    pickCount = 0;
    return addPickedTriangle(m, slots, color);
  }
  return {};
}

EditResult autoTriangleClick(Model& m, std::array<int32_t, 3>& slots, uint16_t color) {
  // Fewer than three vertices in view (or none searched yet): nothing to make.
  if (!slotsHoldVertices(m, slots)) return {};
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
  return addPickedTriangle(m, slots, color);
}
