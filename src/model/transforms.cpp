#include "model/transforms.h"

#include <cmath>
#include <cstring>

#include "model/compact_triangles.h"
#include "model/history_keep.h"
#include "model/selection.h"

namespace {

// The common start of the confirmed operations: false with the result to return when the
// model is empty or nothing is selected; otherwise vertexMark holds the selected vertices and
// the result is the number of selected triangles.
int32_t selectionReady(Model& m, EditResult& refusal) {
  if (m.triangleCount <= 0) {
    refusal = {Request::Present, kMsgNone};
    return 0;
  }
  const int32_t selected = markSelectedVertices(m);
  if (selected == 0) refusal = {Request::Present, kMsgNothingSelected};
  return selected;
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

// Rows kept for the history in runs of at most this many (the run is then still in cache when
// it is transformed); a gap of fewer unmarked rows than kGapRows stays inside a run (kept
// unchanged, they cost less than a range of their own).
constexpr int32_t kRunRows = 4096;
constexpr int32_t kGapRows = 8;

// Applies `f` to the position of every marked vertex. With a history recording the vertices,
// a selection of at least half the triangles writes every position into a new array (the old
// one goes to the history whole); a smaller one keeps the runs of marked rows it overwrites.
template <class F>
void transformMarked(Model& m, History* h, int32_t selectedTris, F f) {
  const int32_t n = m.vertexCount;
  if (!ownsRows(h, kHistVerts)) {
    for (int32_t v = 0; v < n; ++v)
      if (marked(m, v)) m.vertexPos[v] = f(m.vertexPos[v]);
    return;
  }
  if (selectedTris >= m.triangleCount / 2) {
    const Vec3* from = ownWhole(h, kHistVerts, m.vertexPos, n);
    Vec3* to = m.vertexPos.data();
    for (int32_t v = 0; v < n; ++v) to[v] = marked(m, v) ? f(from[v]) : from[v];
    return;
  }
  for (int32_t v = 0; v < n;) {
    if (!marked(m, v)) {
      ++v;
      continue;
    }
    int32_t end = v + 1;
    for (int32_t next = end; next < n && next - v < kRunRows && next - end < kGapRows; ++next)
      if (marked(m, next)) end = next + 1;
    keepRows(h, kHistVerts, m.vertexPos, v, end);
    for (; v < end; ++v)
      if (marked(m, v)) m.vertexPos[v] = f(m.vertexPos[v]);
  }
}

}  // namespace

EditResult moveSelection(Model& m, const Selection& s, Vec3 xyz, bool absolute, History* h) {
  EditResult refusal;
  const int32_t selected = selectionReady(m, refusal);
  if (selected == 0) return refusal;
  const Vec3 d = moveOffset(s, xyz, absolute);
  transformMarked(m, h, selected, [d](Vec3 p) { return Vec3{p.x + d.x, p.y + d.y, p.z + d.z}; });
  return {Request::Render, kMsgNone};
}

EditResult duplicateSelection(Model& m, const Selection& s, Vec3 xyz, bool absolute) {
  EditResult refusal;
  if (selectionReady(m, refusal) == 0) return refusal;
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

EditResult rotateSelection(Model& m, Vec3 centre, float xyAngle, float xzAngle, float yzAngle,
                           History* h) {
  EditResult refusal;
  const int32_t selected = selectionReady(m, refusal);
  if (selected == 0) return refusal;
  const float ca = std::cos(xyAngle), sa = std::sin(xyAngle);
  const float cb = std::cos(xzAngle), sb = std::sin(xzAngle);
  const float cc = std::cos(yzAngle), sc = std::sin(yzAngle);
  transformMarked(m, h, selected, [=](Vec3 p) {
    const float x = p.x - centre.x;
    const float y = p.y - centre.y;
    const float z = p.z - centre.z;
    const float xa = ca * x - sa * y;
    const float ya = ca * y + sa * x;
    const float xb = cb * xa - sb * z;
    const float za = cb * z + sb * xa;
    const float zc = cc * za - sc * ya;
    const float yc = cc * ya + sc * za;
    return Vec3{centre.x + xb, centre.y + yc, centre.z + zc};
  });
  return {Request::Normals, kMsgNone};
}

EditResult scaleSelection(Model& m, Vec3 centre, Vec3 factors, History* h) {
  EditResult refusal;
  const int32_t selected = selectionReady(m, refusal);
  if (selected == 0) return refusal;
  transformMarked(m, h, selected, [=](Vec3 p) {
    return Vec3{factors.x * (p.x - centre.x) + centre.x, factors.y * (p.y - centre.y) + centre.y,
                factors.z * (p.z - centre.z) + centre.z};
  });
  return {Request::Normals, kMsgNone};
}

namespace {

// A triangle removed by Delete: selected, or marked for removal already.
bool deleted(uint8_t flags) {
  return (flags & kSelectedBit) != 0 || flags == kRemoveMark;
}

// Drops the vertices used by selected triangles only (their new indices go to vertexRemap),
// and removes the lines that ended on a dropped vertex, re-indexing the rest. Returns whether
// a vertex was dropped.
bool removeSelectedOnlyVertices(Model& m, History* h) {
  markUnselectedUse(m);
  const auto dropped = [&m](int32_t v) { return m.vertexMark[v] == kMarkSelected; };
  const int32_t n = m.vertexCount;
  int32_t first = 0;
  for (; first < n && !dropped(first); ++first) m.vertexRemap[first] = first;
  if (first == n) return false;
  const Vec3* from = ownWhole(h, kHistVerts, m.vertexPos, n);
  Vec3* to = m.vertexPos.data();
  if (from != to) std::memcpy(to, from, static_cast<size_t>(first) * sizeof(Vec3));
  int32_t w = first;
  for (int32_t r = first; r < n; ++r) {
    if (dropped(r)) continue;
    m.vertexRemap[r] = w;
    to[w] = from[r];
    ++w;
  }
  m.vertexCount = w;
  int32_t lw = 0;
  for (int32_t r = 0; r < m.lineCount; ++r) {
    const Line l = m.lineVerts[r];
    if (dropped(l.a) || dropped(l.b)) continue;
    m.lineVerts[lw] = Line{m.vertexRemap[l.a], m.vertexRemap[l.b]};
    ++lw;
  }
  m.lineCount = lw;
  return true;
}

}  // namespace

EditResult deleteSelection(Model& m, bool removeVerts, History* h) {
  EditResult refusal;
  if (selectionReady(m, refusal) == 0) return refusal;
  if (removeVerts && removeSelectedOnlyVertices(m, h)) {
    // Only kept triangles are re-indexed: a removed one may use a dropped vertex.
    const int32_t* remap = m.vertexRemap.data();
    compactTrianglesWith(m, h, deleted, [remap](Tri t) {
      return Tri{remap[t.a], remap[t.b], remap[t.c]};
    });
  } else {
    compactTrianglesWith(m, h, deleted);
  }
  return {Request::Render, kMsgDeleted};
}

EditResult flipSelection(Model& m, const Selection& s, Axis axis, History* h) {
  const int32_t selected = markSelectedVertices(m);
  if (selected == 0) return {Request::Present, kMsgNothingSelected};
  const Vec3 c = s.selectionCenter;
  transformMarked(m, h, selected, [=](Vec3 p) {
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
    return p;
  });
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
