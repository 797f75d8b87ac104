#include <algorithm>
#include <bit>
#include <vector>

#include "io/stl_file.h"
#include "model/parallel_for.h"

namespace {

void putF32(uint8_t* p, float v) {
  const uint32_t u = std::bit_cast<uint32_t>(v);
  p[0] = static_cast<uint8_t>(u), p[1] = static_cast<uint8_t>(u >> 8);
  p[2] = static_cast<uint8_t>(u >> 16), p[3] = static_cast<uint8_t>(u >> 24);
}

void putVec(uint8_t* p, Vec3 v) {
  putF32(p, v.x);
  putF32(p + 4, v.y);
  putF32(p + 8, v.z);
}

// Facet records of triangles first .. end - 1, from `out` on.
void putFacets(const Model& m, int32_t first, int32_t end, uint8_t* out) {
  for (int32_t t = first; t < end; ++t, out += 50) {
    const Tri tri = m.triVerts[t];
    putVec(out, m.triNormal[t]);
    putVec(out + 12, m.vertexPos[tri.a]);
    putVec(out + 24, m.vertexPos[tri.b]);
    putVec(out + 36, m.vertexPos[tri.c]);
    out[48] = static_cast<uint8_t>(m.triColor[t]);
    out[49] = static_cast<uint8_t>(m.triColor[t] >> 8);
  }
}

}  // namespace

EditResult exportStl(const Model& m, const std::string& name) {
  SafeFileWriter out(name);
  const std::string header(80, ' ');
  out.put(header.data(), header.size());
  out.putI32(m.triangleCount);
  // Facets are assembled a block at a time, the block's rows split over the cores, and
  // written as one piece.
  constexpr int32_t kBlock = 1 << 16;
  std::vector<uint8_t> block(50 * static_cast<size_t>(std::min(kBlock, m.triangleCount)));
  for (int32_t first = 0; first < m.triangleCount; first += kBlock) {
    const int32_t count = std::min(kBlock, m.triangleCount - first);
    parallelFor(count, 8192, [&](int64_t begin, int64_t end) {
      putFacets(m, first + static_cast<int32_t>(begin), first + static_cast<int32_t>(end),
                block.data() + 50 * begin);
    });
    out.put(block.data(), 50 * static_cast<size_t>(count));
  }
  if (!out.commit()) return {Request::Present, kMsgWriteFailed};
  return {Request::Present, kMsgFileSaved};
}
