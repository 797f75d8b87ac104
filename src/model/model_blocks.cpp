#include "model/model_blocks.h"

#include <bit>
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

namespace {

// The files are little-endian with no padding: on such a machine a block of records is
// the model's own rows byte for byte and moves with one read.
constexpr bool kLittleEndian = std::endian::native == std::endian::little;

// Runs `check` over `count` records of `bytes` each, a buffer's worth at a time.
template <class Check>
bool checkRecords(FileReader& file, int64_t count, size_t bytes, Check check) {
  const int64_t perChunk = static_cast<int64_t>(FileReader::kChunk / bytes);
  while (count > 0) {
    const int64_t n = count < perChunk ? count : perChunk;
    const uint8_t* p = file.take(static_cast<size_t>(n) * bytes);
    if (p == nullptr) return false;
    for (int64_t i = 0; i < n; ++i)
      if (!check(p + static_cast<size_t>(i) * bytes)) return false;
    count -= n;
  }
  return true;
}

}  // namespace

bool checkVertices(FileReader& file, int32_t count) {
  return checkRecords(file, count, 12, [](const uint8_t* p) { return isFinite(getVec3(p)); });
}

bool checkIndices(FileReader& file, int32_t count, int perRow, int32_t vertices) {
  const auto limit = static_cast<uint32_t>(vertices);
  return checkRecords(file, count, static_cast<size_t>(perRow) * 4, [=](const uint8_t* p) {
    // Negative indices turn into values above any count when taken unsigned.
    bool ok = true;
    for (int k = 0; k < perRow; ++k) ok &= static_cast<uint32_t>(getI32(p + 4 * k)) < limit;
    return ok;
  });
}

bool checkFlagBytes(FileReader& file, int32_t count) {
  return checkRecords(file, count, 1,
                      [](const uint8_t* p) { return (*p & kGroupMask) < kPartGroups; });
}

bool skipBytes(FileReader& file, int64_t n) {
  return file.seek(file.position() + n);
}

bool readVertices(FileReader& file, Model& m, int32_t first, int32_t count) {
  if constexpr (kLittleEndian && sizeof(Vec3) == 12)
    return file.read(m.vertexPos.data() + first, static_cast<size_t>(count) * 12);
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* p = file.take(12);
    if (p == nullptr) return false;
    m.vertexPos[first + i] = getVec3(p);
  }
  return true;
}

bool readTriangles(FileReader& file, Model& m, int32_t first, int32_t count, int32_t offset) {
  if constexpr (kLittleEndian && sizeof(Tri) == 12) {
    Tri* rows = m.triVerts.data() + first;
    if (!file.read(rows, static_cast<size_t>(count) * 12)) return false;
    if (offset != 0)
      for (int32_t i = 0; i < count; ++i)
        rows[i] = Tri{rows[i].a + offset, rows[i].b + offset, rows[i].c + offset};
    return true;
  }
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
  if constexpr (kLittleEndian)
    return file.read(m.triColor.data() + first, static_cast<size_t>(count) * 2);
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
