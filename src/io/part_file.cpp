#include "io/part_file.h"

#include "io/binary_file.h"
#include "io/file_read.h"
#include "io/model_blocks.h"
#include "model/selection.h"

EditResult loadPart(Model& m, const std::string& name, uint8_t group) {
  const FileBytes file = readFileBytes(name, modelFileLimit(m));
  if (file.status != ReadStatus::Ok) return {Request::Present, readStatusMessage(file.status)};
  return loadPartBytes(m, file.bytes, group);
}

EditResult loadPartBytes(Model& m, std::span<const uint8_t> file, uint8_t group) {
  constexpr EditResult kDamaged{Request::Present, kMsgDamagedFile};
  switch (readMagic(file)) {
    case MagicCheck::Rq:
      break;
    case MagicCheck::Other:
    case MagicCheck::Missing:
      return {Request::Present, kMsgNotRqFile};
  }
  RqHeader h;
  if (!readRqHeader(file, h) || h.vertices < 0 || h.triangles < 0) return kDamaged;
  if (int64_t{m.vertexCount} + h.vertices > m.maxv) return {Request::Normals, kMsgTooManyVerteces};
  if (int64_t{m.triangleCount} + h.triangles > m.maxt)
    return {Request::Normals, kMsgTooManyTriangles};
  const bool colors = h.colorFlag == 1;
  const int64_t needed =
      kRqHeaderBytes + 12 * int64_t{h.vertices} + (colors ? 15 : 12) * int64_t{h.triangles};
  if (static_cast<int64_t>(file.size()) < needed) return kDamaged;
  const uint8_t* vertices = file.data() + kRqHeaderBytes;
  const uint8_t* triangles = vertices + 12 * static_cast<size_t>(h.vertices);
  const uint8_t* colorWords = triangles + 13 * static_cast<size_t>(h.triangles);
  // Nothing of the model is touched until the whole part is known good.
  if (!checkVertices(vertices, h.vertices) || !checkIndices(triangles, h.triangles, 3, h.vertices))
    return kDamaged;
  const int32_t v0 = m.vertexCount, t0 = m.triangleCount;
  copyVertices(vertices, m, v0, h.vertices);
  copyTriangles(triangles, m, t0, h.triangles, v0);
  if (colors) copyColors(colorWords, m, t0, h.triangles);
  for (int32_t i = 0; i < h.triangles; ++i) m.triFlags[t0 + i] = group & kGroupMask;
  m.vertexCount += h.vertices;
  m.triangleCount += h.triangles;
  return {Request::Normals, kMsgFileLoaded};
}

EditResult savePart(Model& m, const std::string& name) {
  const int32_t selected = markSelectedVertices(m);
  if (selected == 0) return {Request::Present, kMsgNothingSelected};
  int32_t used = 0;
  for (int32_t i = 0; i < m.vertexCount; ++i) used += m.vertexMark[i] == kMarkSelected;

  SafeFileWriter out(name);
  out.put(kRqMagic, sizeof kRqMagic);
  out.putI32(used);
  out.putI32(selected);
  out.putI32(0);
  out.putI32(1);
  int32_t next = 0;
  for (int32_t i = 0; i < m.vertexCount; ++i) {
    if (m.vertexMark[i] != kMarkSelected) continue;
    out.putVec3(m.vertexPos[i]);
    m.vertexMark[i] = next++;
  }
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    if ((m.triFlags[t] & kSelectedBit) == 0) continue;
    const Tri tri = m.triVerts[t];
    out.putI32(m.vertexMark[tri.a]);
    out.putI32(m.vertexMark[tri.b]);
    out.putI32(m.vertexMark[tri.c]);
  }
  for (int32_t t = 0; t < selected; ++t) out.putU8(0);
  for (int32_t t = 0; t < m.triangleCount; ++t)
    if ((m.triFlags[t] & kSelectedBit) != 0) out.putU16(m.triColor[t]);
  if (!out.commit()) return {Request::Present, kMsgWriteFailed};
  return {Request::Present, kMsgFileSaved};
}
