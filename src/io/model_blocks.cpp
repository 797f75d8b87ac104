#include "io/model_blocks.h"

#include <algorithm>
#include <bit>
#include <cstring>

MagicCheck readMagic(std::span<const uint8_t> file) {
  if (file.size() < sizeof kRqMagic) return MagicCheck::Missing;
  return std::memcmp(file.data(), kRqMagic, sizeof kRqMagic) == 0 ? MagicCheck::Rq
                                                                  : MagicCheck::Other;
}

bool readRqHeader(std::span<const uint8_t> file, RqHeader& h) {
  if (file.size() < static_cast<size_t>(kRqHeaderBytes)) return false;
  const uint8_t* p = file.data() + sizeof kRqMagic;
  h.vertices = getI32(p);
  h.triangles = getI32(p + 4);
  h.lines = getI32(p + 8);
  h.colorFlag = getI32(p + 12);
  return true;
}

int64_t modelFileLimit(const Model& m) {
  const int64_t rq = kRqHeaderBytes + 12 * int64_t{m.maxv} + 15 * int64_t{m.maxt} +
                     8 * int64_t{m.maxl} + kRqNamesBytes;
  const int64_t stl = 84 + 50 * int64_t{m.maxt};
  return std::max<int64_t>(8 * std::max(rq, stl), int64_t{64} << 20);
}

namespace {

// The files are little-endian with no padding: on such a machine a block of records is
// the model's own rows byte for byte and moves with one copy.
constexpr bool kLittleEndian = std::endian::native == std::endian::little;

}  // namespace

bool checkVertices(const uint8_t* p, int32_t count) {
  for (int32_t i = 0; i < count; ++i)
    if (!isFinite(getVec3(p + 12 * static_cast<size_t>(i)))) return false;
  return true;
}

bool checkIndices(const uint8_t* p, int32_t count, int perRow, int32_t vertices) {
  // Negative indices turn into values above any count when taken unsigned.
  const auto limit = static_cast<uint32_t>(vertices);
  const size_t n = static_cast<size_t>(count) * static_cast<size_t>(perRow);
  bool ok = true;
  for (size_t i = 0; i < n; ++i) ok &= static_cast<uint32_t>(getI32(p + 4 * i)) < limit;
  return ok;
}

bool checkFlagBytes(const uint8_t* p, int32_t count) {
  bool ok = true;
  for (int32_t i = 0; i < count; ++i) ok &= (p[i] & kGroupMask) < kPartGroups;
  return ok;
}

void copyVertices(const uint8_t* p, Model& m, int32_t first, int32_t count) {
  if constexpr (kLittleEndian && sizeof(Vec3) == 12) {
    if (count > 0) std::memcpy(m.vertexPos.data() + first, p, static_cast<size_t>(count) * 12);
    return;
  }
  for (int32_t i = 0; i < count; ++i) m.vertexPos[first + i] = getVec3(p + 12 * size_t(i));
}

void copyTriangles(const uint8_t* p, Model& m, int32_t first, int32_t count, int32_t offset) {
  Tri* rows = m.triVerts.data() + first;
  if constexpr (kLittleEndian && sizeof(Tri) == 12) {
    if (count > 0) std::memcpy(rows, p, static_cast<size_t>(count) * 12);
  } else {
    for (int32_t i = 0; i < count; ++i) {
      const uint8_t* r = p + 12 * static_cast<size_t>(i);
      rows[i] = Tri{getI32(r), getI32(r + 4), getI32(r + 8)};
    }
  }
  if (offset != 0)
    for (int32_t i = 0; i < count; ++i)
      rows[i] = Tri{rows[i].a + offset, rows[i].b + offset, rows[i].c + offset};
}

void copyFlagBytes(const uint8_t* p, Model& m, int32_t count) {
  if (count > 0) std::memcpy(m.triFlags.data(), p, static_cast<size_t>(count));
}

void copyColors(const uint8_t* p, Model& m, int32_t first, int32_t count) {
  if constexpr (kLittleEndian) {
    if (count > 0) std::memcpy(m.triColor.data() + first, p, static_cast<size_t>(count) * 2);
    return;
  }
  for (int32_t i = 0; i < count; ++i) m.triColor[first + i] = getU16(p + 2 * size_t(i));
}

void copyLines(const uint8_t* p, Model& m, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* r = p + 8 * static_cast<size_t>(i);
    m.lineVerts[i] = Line{getI32(r), getI32(r + 4)};
  }
}

void copyPartNames(const uint8_t* p, Model& m) {
  for (auto& name : m.partNames) {
    std::memcpy(name.data(), p, kPartNameLength);
    name[kPartNameLength] = 0;
    p += kPartNameLength;
  }
}
