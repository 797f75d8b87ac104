#include "model/cutting.h"

#include <cmath>

#include "model/compact_triangles.h"
#include "model/maths.h"
#include "model/selection.h"

namespace {

float coord(const Vec3& v, int axis) {
  return axis == kAxisX ? v.x : axis == kAxisY ? v.y : v.z;
}

// Point where the edge P -> Q meets the plane. A corner on the plane gives u = 0 or 1 and
// that very corner, so the sliver pieces it causes are recognised below.
Vec3 cutPoint(const Vec3& P, const Vec3& Q, int axis, float plane) {
  const float pk = coord(P, axis), qk = coord(Q, axis);
  const float u = (qk == pk) ? 0.0f : (plane - pk) / (qk - pk);
  if (u == 0.0f) return P;
  if (u == 1.0f) return Q;
  return Vec3{P.x + (Q.x - P.x) * u, P.y + (Q.y - P.y) * u, P.z + (Q.z - P.z) * u};
}

bool samePoint(const Vec3& p, const Vec3& q) {
  return p.x == q.x && p.y == q.y && p.z == q.z;
}

bool isSliver(const Model& m, const Tri& t) {
  const Vec3 a = m.vertexPos[t.a], b = m.vertexPos[t.b], c = m.vertexPos[t.c];
  return samePoint(a, b) || samePoint(b, c) || samePoint(c, a);
}

// One piece of a split: its corners and whether it lies on the upper side.
struct Piece {
  Tri corners;
  bool upper;
};

// Whether corner position p comes before q in the order cut points are measured in: x, then
// y, then z.
bool measuredFrom(const Vec3& p, const Vec3& q) {
  if (p.x != q.x) return p.x < q.x;
  if (p.y != q.y) return p.y < q.y;
  return p.z < q.z;
}

// Appends the two copies of the cut point on the edge p - q; returns the index of the first.
// The point is measured from the same end of the edge whichever way a triangle runs along it,
// so the triangles on both sides of a cut edge get bit-identical points and the pieces still
// meet (measured from opposite ends the two results can differ in the last bit).
int32_t addCutPoint(Model& m, int32_t p, int32_t q, int axis, float plane) {
  const Vec3 from = m.vertexPos[p], to = m.vertexPos[q];
  const Vec3 point =
      measuredFrom(to, from) ? cutPoint(to, from, axis, plane) : cutPoint(from, to, axis, plane);
  const int32_t n = m.vertexCount;
  m.vertexPos[n] = point;
  m.vertexPos[n + 1] = point;
  m.vertexCount = n + 2;
  return n;
}

void splitTriangle(Model& m, int32_t t, int code, int axis, float plane, History* h) {
  const Tri tri = m.triVerts[t];
  const int32_t a = tri.a, b = tri.b, c = tri.c;
  const bool au = (code & 1) != 0, bu = (code & 2) != 0, cu = (code & 4) != 0;
  const int32_t n = m.vertexCount;
  Piece first, second, rest;
  if (code == 1 || code == 6) {
    addCutPoint(m, a, b, axis, plane);
    addCutPoint(m, c, a, axis, plane);
    first = {{a, n, n + 2}, au};
    second = {{n + 3, n + 1, c}, cu};
    rest = {{n + 1, b, c}, bu};
  } else if (code == 2 || code == 5) {
    addCutPoint(m, a, b, axis, plane);
    addCutPoint(m, b, c, axis, plane);
    first = {{b, n + 2, n}, bu};
    second = {{n + 1, n + 3, a}, au};
    rest = {{a, n + 3, c}, cu};
  } else {
    addCutPoint(m, b, c, axis, plane);
    addCutPoint(m, c, a, axis, plane);
    first = {{c, n + 2, n}, cu};
    second = {{n + 1, n + 3, b}, bu};
    rest = {{a, b, n + 3}, au};
  }
  const uint16_t color = m.triColor[t];
  const uint8_t group = m.triFlags[t] & kGroupMask;
  keepRows(h, kHistTris, m.triVerts, t, t + 1);
  m.triVerts[t] = rest.corners;
  m.triFlags[t] = static_cast<uint8_t>(group | (rest.upper ? kSelectedBit : 0));
  for (const Piece& piece : {first, second}) {
    const int32_t s = m.triangleCount;
    m.triVerts[s] = piece.corners;
    m.triFlags[s] = piece.upper ? kSelectedBit : 0;
    m.triColor[s] = color;
    m.triangleCount = s + 1;
  }
  for (const int32_t s : {t, m.triangleCount - 2, m.triangleCount - 1})
    if (isSliver(m, m.triVerts[s])) m.triFlags[s] = kRemoveMark;
}

}  // namespace

EditResult sliceModel(Model& m, int axis, float at, History* h) {
  // The plane lies at an integer coordinate (halves to even); kept as a float so that a
  // huge field value cannot overflow an integer.
  const float plane = std::nearbyint(at);
  uint8_t message = kMsgNone;
  const int32_t count = m.triangleCount;
  for (int32_t t = 0; t < count; ++t) {
    const Tri tri = m.triVerts[t];
    const int code = (coord(m.vertexPos[tri.a], axis) >= plane ? 1 : 0) +
                     (coord(m.vertexPos[tri.b], axis) >= plane ? 2 : 0) +
                     (coord(m.vertexPos[tri.c], axis) >= plane ? 4 : 0);
    if (code == 0) {
      m.triFlags[t] &= static_cast<uint8_t>(~kSelectedBit);
      continue;
    }
    if (code == 7) {
      m.triFlags[t] |= kSelectedBit;
      continue;
    }
    if (m.vertexCount > m.maxv - 4) {
      message = kMsgTooManyVerteces;
      continue;
    }
    if (m.triangleCount > m.maxt - 3) {
      message = kMsgTooManyTriangles;
      continue;
    }
    splitTriangle(m, t, code, axis, plane, h);
  }
  compactTrianglesWith(m, h, hasRemoveMark);
  return {Request::Normals, message};
}

EditResult drillModel(Model& m, const DrillCircle& circle) {
  const float sx = circle.x, sy = circle.y;
  const float r2 = circle.radius * circle.radius;
  const float far = circle.farDepth;
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    const Tri tri = m.triVerts[t];
    const Vec3 corners[3] = {m.vertexProj[tri.a], m.vertexProj[tri.b], m.vertexProj[tri.c]};
    bool behind = false;
    int beyond = 0, inside = 0;
    for (const Vec3& p : corners) {
      if (p.z < kNearPlane) behind = true;
      if (p.z > far) ++beyond;
      const float ex = p.x - sx, ey = p.y - sy;
      if (ex * ex + ey * ey < r2) ++inside;
    }
    if (behind || beyond > 1) continue;
    if (inside == 3) m.triFlags[t] = kRemoveMark;
  }
  compactTriangles(m);
  return {Request::Normals, kMsgNone};
}
