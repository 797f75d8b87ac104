#include "model/model_blocks.h"

#include <cstring>

MagicCheck readMagic(FileReader& file) {
  const uint8_t* p = file.take(sizeof kRqMagic);
  if (p == nullptr) return MagicCheck::Missing;
  return std::memcmp(p, kRqMagic, sizeof kRqMagic) == 0 ? MagicCheck::Rq : MagicCheck::Other;
}

bool readRqHeader(FileReader& file, RqHeader& h) {
  const uint8_t* p = file.take(16);
  if (p == nullptr) return false;
  h.vertices = getI32(p);
  h.triangles = getI32(p + 4);
  h.lines = getI32(p + 8);
  h.colorFlag = getI32(p + 12);
  return true;
}

bool checkVertices(FileReader& file, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* p = file.take(12);
    if (p == nullptr || !isFinite(getVec3(p))) return false;
  }
  return true;
}

bool checkIndices(FileReader& file, int32_t count, int perRow, int32_t vertices) {
  const size_t bytes = static_cast<size_t>(perRow) * 4;
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* p = file.take(bytes);
    if (p == nullptr) return false;
    for (int k = 0; k < perRow; ++k) {
      const int32_t index = getI32(p + 4 * k);
      if (index < 0 || index >= vertices) return false;
    }
  }
  return true;
}

bool checkFlagBytes(FileReader& file, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* p = file.take(1);
    if (p == nullptr || (*p & kGroupMask) >= kPartGroups) return false;
  }
  return true;
}

bool skipBytes(FileReader& file, int64_t n) {
  return file.seek(file.position() + n);
}

bool readVertices(FileReader& file, Model& m, int32_t first, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* p = file.take(12);
    if (p == nullptr) return false;
    m.vertexPos[first + i] = getVec3(p);
  }
  return true;
}

bool readTriangles(FileReader& file, Model& m, int32_t first, int32_t count, int32_t offset) {
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* p = file.take(12);
    if (p == nullptr) return false;
    m.triVerts[first + i] = Tri{getI32(p) + offset, getI32(p + 4) + offset, getI32(p + 8) + offset};
  }
  return true;
}

bool readFlagBytes(FileReader& file, Model& m, int32_t count) {
  return file.read(m.triFlags.data(), static_cast<size_t>(count));
}

bool readColors(FileReader& file, Model& m, int32_t first, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* p = file.take(2);
    if (p == nullptr) return false;
    m.triColor[first + i] = getU16(p);
  }
  return true;
}

bool readLines(FileReader& file, Model& m, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* p = file.take(8);
    if (p == nullptr) return false;
    m.lineVerts[i] = Line{getI32(p), getI32(p + 4)};
  }
  return true;
}

bool readPartNames(FileReader& file, Model& m) {
  for (auto& name : m.partNames) {
    if (!file.read(name.data(), kPartNameLength)) return false;
    name[kPartNameLength] = 0;
  }
  return true;
}
