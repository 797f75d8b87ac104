#include "model/transforms.h"

#include <cmath>

#include "model/selection.h"

namespace {

// The common start of the confirmed operations: false with the result to return when the
// model is empty or nothing is selected; otherwise vertexMark holds the selected vertices.
bool selectionReady(Model& m, EditResult& refusal) {
  if (m.triangleCount <= 0) {
    refusal = {Request::Present, kMsgNone};
    return false;
  }
  if (markSelectedVertices(m) == 0) {
    refusal = {Request::Present, kMsgNothingSelected};
    return false;
  }
  return true;
}

bool marked(const Model& m, int32_t v) {
  return m.vertexMark[v] == kMarkSelected;
}

Vec3 moveOffset(const Selection& s, Vec3 xyz, bool absolute) {
  Vec3 d = xyz;
  if (absolute) {
    d.x -= s.selectionCenter.x;
    d.y -= s.selectionCenter.y;
    if (s.selectionMinZ != 0.0f) d.z -= s.selectionCenter.z;
  }
  return d;
}

}  // namespace

EditResult moveSelection(Model& m, const Selection& s, Vec3 xyz, bool absolute) {
  EditResult refusal;
  if (!selectionReady(m, refusal)) return refusal;
  const Vec3 d = moveOffset(s, xyz, absolute);
  for (int32_t v = 0; v < m.vertexCount; ++v) {
    if (!marked(m, v)) continue;
    Vec3& p = m.vertexPos[v];
    p.x += d.x;
    p.y += d.y;
    p.z += d.z;
  }
  return {Request::Render, kMsgNone};
}

EditResult duplicateSelection(Model& m, const Selection& s, Vec3 xyz, bool absolute) {
  EditResult refusal;
  if (!selectionReady(m, refusal)) return refusal;
  const int32_t n = m.vertexCount;
  const int32_t t = m.triangleCount;
  // The copies must fit before anything is appended.
  int64_t newVerts = 0, newTris = 0;
  for (int32_t v = 0; v < n; ++v) newVerts += marked(m, v);
  for (int32_t i = 0; i < t; ++i) newTris += (m.triFlags[i] & kSelectedBit) != 0;
  if (n + newVerts > m.maxv) return {Request::Present, kMsgTooManyVerteces};
  if (t + newTris > m.maxt) return {Request::Present, kMsgTooManyTriangles};

  const Vec3 d = moveOffset(s, xyz, absolute);
  for (int32_t v = 0; v < n; ++v) {
    if (!marked(m, v)) continue;
    const Vec3 p = m.vertexPos[v];
    m.vertexPos[m.vertexCount] = Vec3{p.x + d.x, p.y + d.y, p.z + d.z};
    m.vertexMark[v] = m.vertexCount;
    ++m.vertexCount;
  }
  for (int32_t i = 0; i < t; ++i) {
    if ((m.triFlags[i] & kSelectedBit) == 0) continue;
    const Tri src = m.triVerts[i];
    const int32_t w = m.triangleCount;
    m.triVerts[w] = Tri{m.vertexMark[src.a], m.vertexMark[src.b], m.vertexMark[src.c]};
    m.triFlags[w] = m.triFlags[i];
    m.triColor[w] = m.triColor[i];
    ++m.triangleCount;
  }
  return {Request::Normals, kMsgNone};
}

EditResult rotateSelection(Model& m, Vec3 centre, float xyAngle, float xzAngle, float yzAngle) {
  EditResult refusal;
  if (!selectionReady(m, refusal)) return refusal;
  const float ca = std::cos(xyAngle), sa = std::sin(xyAngle);
  const float cb = std::cos(xzAngle), sb = std::sin(xzAngle);
  const float cc = std::cos(yzAngle), sc = std::sin(yzAngle);
  for (int32_t v = 0; v < m.vertexCount; ++v) {
    if (!marked(m, v)) continue;
    Vec3& p = m.vertexPos[v];
    const float x = p.x - centre.x;
    const float y = p.y - centre.y;
    const float z = p.z - centre.z;
    const float xa = ca * x - sa * y;
    const float ya = ca * y + sa * x;
    const float xb = cb * xa - sb * z;
    const float za = cb * z + sb * xa;
    const float zc = cc * za - sc * ya;
    const float yc = cc * ya + sc * za;
    p = Vec3{centre.x + xb, centre.y + yc, centre.z + zc};
  }
  return {Request::Normals, kMsgNone};
}

EditResult scaleSelection(Model& m, Vec3 centre, Vec3 factors) {
  EditResult refusal;
  if (!selectionReady(m, refusal)) return refusal;
  for (int32_t v = 0; v < m.vertexCount; ++v) {
    if (!marked(m, v)) continue;
    Vec3& p = m.vertexPos[v];
    p.x = factors.x * (p.x - centre.x) + centre.x;
    p.y = factors.y * (p.y - centre.y) + centre.y;
    p.z = factors.z * (p.z - centre.z) + centre.z;
  }
  return {Request::Normals, kMsgNone};
}

namespace {

// Drops the vertices used by selected triangles only, re-indexes the triangles and the
// lines, and removes the lines that ended on a dropped vertex.
void removeSelectedOnlyVertices(Model& m) {
  markUnselectedUse(m);
  const auto dropped = [&m](int32_t v) { return m.vertexMark[v] == kMarkSelected; };
  int32_t w = 0;
  for (int32_t r = 0; r < m.vertexCount; ++r) {
    if (dropped(r)) continue;
    m.vertexRemap[r] = w;
    if (r != w) m.vertexPos[w] = m.vertexPos[r];
    ++w;
  }
  m.vertexCount = w;
  // Selected triangles may pick up stale entries here; they are removed right after.
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    Tri& tri = m.triVerts[t];
    tri = Tri{m.vertexRemap[tri.a], m.vertexRemap[tri.b], m.vertexRemap[tri.c]};
  }
  int32_t lw = 0;
  for (int32_t r = 0; r < m.lineCount; ++r) {
    const Line l = m.lineVerts[r];
    if (dropped(l.a) || dropped(l.b)) continue;
    m.lineVerts[lw] = Line{m.vertexRemap[l.a], m.vertexRemap[l.b]};
    ++lw;
  }
  m.lineCount = lw;
}

}  // namespace

EditResult deleteSelection(Model& m, bool removeVerts) {
  EditResult refusal;
  if (!selectionReady(m, refusal)) return refusal;
  if (removeVerts) removeSelectedOnlyVertices(m);
  for (int32_t t = 0; t < m.triangleCount; ++t)
    if ((m.triFlags[t] & kSelectedBit) != 0) m.triFlags[t] = kRemoveMark;
  compactTriangles(m);
  return {Request::Render, kMsgDeleted};
}

EditResult flipSelection(Model& m, const Selection& s, Axis axis) {
  if (markSelectedVertices(m) == 0) return {Request::Present, kMsgNothingSelected};
  const Vec3 c = s.selectionCenter;
  for (int32_t v = 0; v < m.vertexCount; ++v) {
    if (!marked(m, v)) continue;
    Vec3& p = m.vertexPos[v];
    switch (axis) {
      case Axis::X:
        p.x = (c.x - p.x) + c.x;
        break;
      case Axis::Y:
        p.y = (c.y - p.y) + c.y;
        break;
      case Axis::Z:
        p.z = (c.z - p.z) + c.z;
        break;
    }
  }
  return {Request::Normals, kMsgNone};
}

EditResult reverseFaces(Model& m) {
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    if ((m.triFlags[t] & kSelectedBit) == 0) continue;
    Tri& tri = m.triVerts[t];
    const int32_t b = tri.b;
    tri.b = tri.c;
    tri.c = b;
  }
  return {Request::Normals, kMsgNone};
}
