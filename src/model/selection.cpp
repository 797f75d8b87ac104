#include "model/selection.h"

#include <algorithm>

#include "model/compact_triangles.h"

int32_t markSelectedVertices(Model& m) {
  std::fill_n(m.vertexMark.begin(), m.vertexCount, kMarkUnused);
  int32_t count = 0;
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    if ((m.triFlags[t] & kSelectedBit) == 0) continue;
    const Tri tri = m.triVerts[t];
    m.vertexMark[tri.a] = kMarkSelected;
    m.vertexMark[tri.b] = kMarkSelected;
    m.vertexMark[tri.c] = kMarkSelected;
    ++count;
  }
  return count;
}

void markUnselectedUse(Model& m) {
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    if ((m.triFlags[t] & kSelectedBit) != 0) continue;
    const Tri tri = m.triVerts[t];
    m.vertexMark[tri.a] |= kMarkUnselectedUse;
    m.vertexMark[tri.b] |= kMarkUnselectedUse;
    m.vertexMark[tri.c] |= kMarkUnselectedUse;
  }
}

void compactTriangles(Model& m) {
  compactTrianglesWith(m, nullptr, hasRemoveMark);
}

void computeSelectionCenter(const Model& m, Selection& s) {
  Vec3 lo{kEmptyBoxBound, kEmptyBoxBound, kEmptyBoxBound};
  Vec3 hi{-kEmptyBoxBound, -kEmptyBoxBound, -kEmptyBoxBound};
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    if ((m.triFlags[t] & kSelectedBit) == 0) continue;
    const Tri tri = m.triVerts[t];
    for (const int32_t v : {tri.a, tri.b, tri.c}) {
      const Vec3 p = m.vertexPos[v];
      if (lo.x > p.x) lo.x = p.x;
      if (lo.y > p.y) lo.y = p.y;
      if (lo.z > p.z) lo.z = p.z;
      if (hi.x < p.x) hi.x = p.x;
      if (hi.y < p.y) hi.y = p.y;
      if (hi.z < p.z) hi.z = p.z;
    }
  }
  s.selectionCenter = Vec3{(lo.x + hi.x) / 2.0f, (lo.y + hi.y) / 2.0f, (lo.z + hi.z) / 2.0f};
  s.selectionMinZ = lo.z;
}

int32_t countSelected(const Model& m) {
  int32_t n = 0;
  for (int32_t t = 0; t < m.triangleCount; ++t) n += (m.triFlags[t] & kSelectedBit) != 0;
  return n;
}

void invertSelection(Model& m) {
  for (int32_t t = 0; t < m.triangleCount; ++t) m.triFlags[t] ^= kSelectedBit;
}
