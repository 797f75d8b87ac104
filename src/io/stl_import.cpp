#include <algorithm>
#include <cstdio>
#include <new>
#include <vector>

#include "io/stl_ascii.h"
#include "io/stl_file.h"
#include "io/vertex_weld.h"

namespace {

constexpr int64_t kHeaderBytes = 84;
constexpr int64_t kFacetBytes = 50;
// Facets are read, checked and welded a piece at a time (a little under 2 MB of binary STL).
constexpr int32_t kPieceFacets = 32768;
// The facets of one piece, decoded, and the vertex indices of their corners.
struct FacetPiece {
  std::vector<Vec3> corners = std::vector<Vec3>(3 * static_cast<size_t>(kPieceFacets));
  std::vector<uint16_t> attributes = std::vector<uint16_t>(kPieceFacets);
  std::vector<int32_t> indices = std::vector<int32_t>(3 * static_cast<size_t>(kPieceFacets));
  int32_t count = 0;
};

Tri* stagedTriangles(Model& m) {
  // The normals' rows hold the new corners until the import is committed (both are 12 bytes).
  static_assert(sizeof(Tri) == sizeof(Vec3));
  return static_cast<Tri*>(static_cast<void*>(m.triNormal.data()));
}

// The new model is built beside the old one, in rows the old one does not need: its vertex
// positions in the projection rows, its corners in the normal rows (both are recomputed after
// every load), the weld's table in the scratch tables (as much of them as it needs), its colours
// and cleared flags in rows of their own. Only a file read to its end without fault replaces the
// model, by exchanging those rows with the model's, so a refused file changes nothing the model
// holds.
class FacetStore {
 public:
  FacetStore(Model& m, int32_t facets, const ImportProgress& progress)
      : m_(m),
        welder_(std::span(m.vertexMark.data(), m.vertexMark.size()),
                std::span(m.vertexRemap.data(), m.vertexRemap.size()), m.vertexProj.data(), m.maxv,
                facets / 2 + 16),
        tris_(stagedTriangles(m)),
        colors_(m.triColor.size()),
        flags_(m.triFlags.size()),
        facets_(facets),
        progress_(progress) {
    // Closed meshes share each corner among about six triangles. The weld reads these rows
    // at random: renewed, they come in few pages.
    m.vertexProj.renewRows(static_cast<size_t>(facets) / 2 + 16);
    m.triNormal.prepareRows(static_cast<size_t>(facets));
    colors_.prepareRows(static_cast<size_t>(facets));
  }

  // Welds the piece's facets in file order, until the capacities are reached.
  void add(FacetPiece& piece) {
    if (stop_ != kMsgNone) return;
    welder_.weld(piece.corners.data(), 3 * piece.count, piece.indices.data());
    // The vertices are numbered in order of first appearance: a corner made a new one when
    // its index is the count so far.
    const int32_t* index = piece.indices.data();
    for (int32_t i = 0; i < piece.count; ++i, ++next_) {
      if (next_ % kProgressStep == 0 && progress_) progress_(next_, facets_);
      int32_t corner[3];
      for (int k = 0; k < 3; ++k) {
        corner[k] = index[3 * i + k];
        if (corner[k] == vertices_) ++vertices_;
        if (vertices_ == m_.maxv || corner[k] < 0) {
          stop_ = kMsgTooManyVerteces;
          return;
        }
      }
      tris_[triangles_] = Tri{corner[0], corner[1], corner[2]};
      colors_[triangles_] = piece.attributes[i];
      if (++triangles_ == m_.maxt) {
        stop_ = kMsgTooManyTriangles;
        return;
      }
    }
  }

  // The file was good to its end: the new rows become the model's.
  EditResult commit() {
    m_.lineCount = 0;
    m_.triFlags = std::move(flags_);  // every row cleared: unselected, part group 0
    m_.triColor = std::move(colors_);
    m_.vertexPos.swapRows(m_.vertexProj);
    m_.triVerts.swapRows(m_.triNormal);
    m_.vertexCount = vertices_;
    m_.triangleCount = triangles_;
    return {Request::Normals, stop_};
  }

 private:
  Model& m_;
  VertexWelder welder_;
  Tri* tris_;
  FixedArray<uint16_t> colors_;
  FixedArray<uint8_t> flags_;
  int32_t facets_, next_ = 0, vertices_ = 0, triangles_ = 0;
  uint8_t stop_ = kMsgNone;
  const ImportProgress& progress_;
};

bool finite(float v) {
  return (std::bit_cast<uint32_t>(v) & 0x7F800000u) != 0x7F800000u;
}

// Decodes `count` facet records into the piece; false when a corner is not finite.
bool decodeFacets(const uint8_t* p, int32_t count, FacetPiece& piece) {
  bool ok = true;
  for (int32_t i = 0; i < count; ++i, p += kFacetBytes) {
    for (int k = 0; k < 3; ++k) {
      const Vec3 v = getVec3(p + 12 + 12 * k);
      const int allFinite = int{finite(v.x)} & int{finite(v.y)} & int{finite(v.z)};
      ok &= allFinite != 0;
      piece.corners[3 * static_cast<size_t>(i) + k] = v;
    }
    piece.attributes[i] = getU16(p + 48);
  }
  piece.count = count;
  return ok;
}

EditResult importBinary(Model& m, ByteSource& source, int32_t n, const ImportProgress& progress) {
  if (n == 0) return {Request::None, kMsgNoFacets};
  FacetStore store(m, n, progress);
  FacetPiece piece;
  std::vector<uint8_t> bytes(static_cast<size_t>(kPieceFacets) * kFacetBytes);
  for (int32_t i = 0; i < n;) {
    const int32_t count = std::min(kPieceFacets, n - i);
    if (!source.read(bytes.data(), static_cast<size_t>(count) * kFacetBytes) ||
        !decodeFacets(bytes.data(), count, piece))
      return {Request::None, kMsgDamagedFile};
    store.add(piece);
    i += count;
  }
  return store.commit();
}

EditResult importAscii(Model& m, std::span<const uint8_t> file, const ImportProgress& progress) {
  AsciiStlReader reader(file);
  Vec3 corners[3];
  AsciiStlReader::Step step;
  int64_t n = 0;
  while ((step = reader.next(corners)) == AsciiStlReader::Step::Facet) ++n;
  if (step != AsciiStlReader::Step::End) return {Request::None, kMsgDamagedFile};
  if (n == 0) return {Request::None, kMsgNoFacets};
  if (n > INT32_MAX) return {Request::None, kMsgDamagedFile};
  // Second pass over the same bytes: they have been checked whole.
  reader.restart();
  FacetStore store(m, static_cast<int32_t>(n), progress);
  FacetPiece piece;
  for (int64_t i = 0; i < n;) {
    piece.count = static_cast<int32_t>(std::min<int64_t>(kPieceFacets, n - i));
    for (int32_t j = 0; j < piece.count; ++j) {
      reader.next(&piece.corners[3 * static_cast<size_t>(j)]);
      piece.attributes[j] = 0;
    }
    store.add(piece);
    i += piece.count;
  }
  return store.commit();
}

// The count of a binary file: its first 84 bytes are there and the facets it declares fit.
bool binaryCount(std::span<const uint8_t> head, int64_t size, int32_t& n) {
  if (size < kHeaderBytes || head.size() < static_cast<size_t>(kHeaderBytes)) return false;
  n = getI32(head.data() + 80);
  return n >= 0 && kHeaderBytes + kFacetBytes * static_cast<int64_t>(n) <= size;
}

// The new rows a replaced model needs cannot be had: as a file too big for the memory.
constexpr EditResult kNoMemory{Request::None, kMsgTooManyTriangles};

}  // namespace

std::string importProgressText(int32_t i, int32_t n) {
  // Each number with a leading blank when it is not negative.
  char text[64];
  std::snprintf(text, sizeof text, "importing stl... %s%d/%s%d ", i >= 0 ? " " : "", i,
                n >= 0 ? " " : "", n);
  return text;
}

bool isBinaryStl(const ByteSource& source) {
  int32_t n = 0;
  return binaryCount(source.head(), source.size(), n);
}

EditResult importBinaryStl(Model& m, ByteSource& source, const ImportProgress& progress) {
  int32_t n = 0;
  uint8_t header[kHeaderBytes];
  if (!binaryCount(source.head(), source.size(), n) || !source.read(header, sizeof header))
    return {Request::None, kMsgDamagedFile};
  try {
    return importBinary(m, source, n, progress);
  } catch (const std::bad_alloc&) {
    return kNoMemory;
  }
}

EditResult importStl(Model& m, std::span<const uint8_t> file, const ImportProgress& progress) {
  SpanSource source(file);
  if (isBinaryStl(source)) return importBinaryStl(m, source, progress);
  if (!startsWithSolid(file)) return {Request::None, kMsgDamagedFile};
  try {
    return importAscii(m, file, progress);
  } catch (const std::bad_alloc&) {
    return kNoMemory;
  }
}
