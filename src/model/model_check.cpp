#include "model/model_check.h"

#include <cmath>

namespace {

std::string fault(const char* what, int32_t index, const std::string& detail) {
  return std::string(what) + " " + std::to_string(index) + ": " + detail;
}

}  // namespace

std::string checkModel(const Model& m, bool requireFiniteCoordinates) {
  if (m.vertexCount < 0 || m.vertexCount > m.maxv)
    return "vertexCount " + std::to_string(m.vertexCount) + " of " + std::to_string(m.maxv);
  if (m.triangleCount < 0 || m.triangleCount > m.maxt)
    return "triangleCount " + std::to_string(m.triangleCount) + " of " + std::to_string(m.maxt);
  if (m.lineCount < 0 || m.lineCount > m.maxl)
    return "lineCount " + std::to_string(m.lineCount) + " of " + std::to_string(m.maxl);
  const auto bad = [&](int32_t v) { return v < 0 || v >= m.vertexCount; };
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    const Tri tri = m.triVerts[t];
    if (bad(tri.a) || bad(tri.b) || bad(tri.c))
      return fault("triangle", t,
                   "(" + std::to_string(tri.a) + ", " + std::to_string(tri.b) + ", " +
                       std::to_string(tri.c) + ") with " + std::to_string(m.vertexCount) +
                       " vertices");
    if (m.triFlags[t] == kRemoveMark) return fault("triangle", t, "still marked for removal");
    if ((m.triFlags[t] & kGroupMask) > 99)
      return fault("triangle", t, "in group " + std::to_string(m.triFlags[t] & kGroupMask));
  }
  for (int32_t l = 0; l < m.lineCount; ++l) {
    const Line line = m.lineVerts[l];
    if (bad(line.a) || bad(line.b))
      return fault("line", l,
                   "(" + std::to_string(line.a) + ", " + std::to_string(line.b) + ") with " +
                       std::to_string(m.vertexCount) + " vertices");
  }
  if (requireFiniteCoordinates) {
    for (int32_t v = 0; v < m.vertexCount; ++v) {
      const Vec3 p = m.vertexPos[v];
      if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
        return fault("vertex", v, "not finite");
    }
  }
  return {};
}
