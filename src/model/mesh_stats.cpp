#include "model/mesh_stats.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct D3 {
  double x, y, z;
};
D3 d3(Vec3 v) {
  return {v.x, v.y, v.z};
}
D3 sub(D3 a, D3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
D3 cross(D3 a, D3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

uint64_t edgeKey(int32_t a, int32_t b) {
  const auto lo = static_cast<uint32_t>(std::min(a, b)), hi = static_cast<uint32_t>(std::max(a, b));
  return (static_cast<uint64_t>(lo) << 32) | hi;
}

}  // namespace

MeshStats meshStats(const Model& m) {
  MeshStats s;
  std::vector<uint64_t> edges;
  edges.reserve(3 * static_cast<size_t>(m.triangleCount));
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    const Tri tri = m.triVerts[t];
    const D3 a = d3(m.vertexPos[tri.a]), b = d3(m.vertexPos[tri.b]), c = d3(m.vertexPos[tri.c]);
    const D3 n = cross(sub(b, a), sub(c, a));
    s.surfaceArea += 0.5 * std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    s.volume += (a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) +
                 a.z * (b.x * c.y - b.y * c.x)) /
                6.0;
    ++s.groupTriangles[m.triFlags[t] & kGroupMask];
    const int32_t corner[3] = {tri.a, tri.b, tri.c};
    for (int k = 0; k < 3; ++k) {
      const int32_t p = corner[k], q = corner[(k + 1) % 3];
      if (p != q) edges.push_back(edgeKey(p, q));
    }
  }
  std::sort(edges.begin(), edges.end());
  for (size_t i = 0; i < edges.size();) {
    size_t j = i + 1;
    while (j < edges.size() && edges[j] == edges[i]) ++j;
    if (j - i == 1) ++s.openEdges;
    if (j - i > 2) ++s.overSharedEdges;
    i = j;
  }
  return s;
}
