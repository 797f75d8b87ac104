#include "io/stl_file.h"

EditResult exportStl(const Model& m, const std::string& name) {
  SafeFileWriter out(name);
  const std::string header(80, ' ');
  out.put(header.data(), header.size());
  out.putI32(m.triangleCount);
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    const Tri tri = m.triVerts[t];
    out.putVec3(m.triNormal[t]);
    out.putVec3(m.vertexPos[tri.a]);
    out.putVec3(m.vertexPos[tri.b]);
    out.putVec3(m.vertexPos[tri.c]);
    out.putU16(m.triColor[t]);
  }
  if (!out.commit()) return {Request::Present, kMsgWriteFailed};
  return {Request::Present, kMsgFileSaved};
}
