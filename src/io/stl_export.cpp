#include <bit>
#include <vector>

#include "io/stl_file.h"

EditResult exportStl(const Model& m, const std::string& name) {
  SafeFileWriter out(name);
  const std::string header(80, ' ');
  out.put(header.data(), header.size());
  out.putI32(m.triangleCount);
  // Facets are assembled a few thousand at a time and written as one block.
  constexpr int kBatch = 1024;
  std::vector<uint8_t> block(50 * kBatch);
  int used = 0;
  auto putF32 = [](uint8_t* p, float v) {
    const uint32_t u = std::bit_cast<uint32_t>(v);
    p[0] = static_cast<uint8_t>(u), p[1] = static_cast<uint8_t>(u >> 8);
    p[2] = static_cast<uint8_t>(u >> 16), p[3] = static_cast<uint8_t>(u >> 24);
  };
  auto putVec = [&](uint8_t* p, Vec3 v) {
    putF32(p, v.x);
    putF32(p + 4, v.y);
    putF32(p + 8, v.z);
  };
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    const Tri tri = m.triVerts[t];
    uint8_t* p = block.data() + 50 * used;
    putVec(p, m.triNormal[t]);
    putVec(p + 12, m.vertexPos[tri.a]);
    putVec(p + 24, m.vertexPos[tri.b]);
    putVec(p + 36, m.vertexPos[tri.c]);
    p[48] = static_cast<uint8_t>(m.triColor[t]);
    p[49] = static_cast<uint8_t>(m.triColor[t] >> 8);
    if (++used == kBatch) {
      out.put(block.data(), block.size());
      used = 0;
    }
  }
  out.put(block.data(), 50 * static_cast<size_t>(used));
  if (!out.commit()) return {Request::Present, kMsgWriteFailed};
  return {Request::Present, kMsgFileSaved};
}
