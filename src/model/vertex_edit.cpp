#include "model/vertex_edit.h"

namespace {

bool isVertex(const Model& m, int32_t v) {
  return v >= 0 && v < m.vertexCount;
}

}  // namespace

void removeVertexUses(Model& m, int32_t v) {
  int32_t w = 0;
  for (int32_t r = 0; r < m.triangleCount; ++r) {
    const Tri t = m.triVerts[r];
    if (t.a == v || t.b == v || t.c == v) continue;
    if (r != w) {
      m.triVerts[w] = t;
      m.triNormal[w] = m.triNormal[r];
      m.triFlags[w] = m.triFlags[r];
      m.triColor[w] = m.triColor[r];
    }
    ++w;
  }
  m.triangleCount = w;

  w = 0;
  for (int32_t r = 0; r < m.lineCount; ++r) {
    const Line l = m.lineVerts[r];
    if (l.a == v || l.b == v) continue;
    if (r != w) m.lineVerts[w] = l;
    ++w;
  }
  m.lineCount = w;
}

EditResult deleteLastVertex(Model& m) {
  if (m.vertexCount <= 0) return {};
  --m.vertexCount;
  removeVertexUses(m, m.vertexCount);
  return {Request::Render, kMsgDeleted};
}

EditResult deleteLastTriangle(Model& m) {
  if (m.triangleCount <= 0) return {};
  --m.triangleCount;
  return {Request::Render, kMsgDeleted};
}

EditResult deleteLastLine(Model& m) {
  if (m.lineCount <= 0) return {};
  --m.lineCount;
  return {Request::Render, kMsgDeleted};
}

EditResult moveVertex(Model& m, Vec3 to, int32_t picked) {
  if (!isVertex(m, picked)) return {};
  m.vertexPos[picked] = to;
  return {Request::Normals, kMsgNone};
}

EditResult deleteVertex(Model& m, int32_t& picked) {
  const int32_t v = picked;
  if (!isVertex(m, v)) return {};
  picked = -1;
  removeVertexUses(m, v);
  for (int32_t i = v + 1; i < m.vertexCount; ++i) m.vertexPos[i - 1] = m.vertexPos[i];
  --m.vertexCount;
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    Tri& tri = m.triVerts[t];
    if (tri.a >= v) --tri.a;
    if (tri.b >= v) --tri.b;
    if (tri.c >= v) --tri.c;
  }
  for (int32_t l = 0; l < m.lineCount; ++l) {
    Line& line = m.lineVerts[l];
    if (line.a >= v) --line.a;
    if (line.b >= v) --line.b;
  }
  return {Request::Normals, kMsgDeleted};
}

EditResult clearModel(Model& m) {
  clearTriangleFlags(m);
  m.lineCount = 0;
  m.vertexCount = 0;
  m.triangleCount = 0;
  return {Request::Normals, kMsgModelCleared};
}
