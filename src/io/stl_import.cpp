#include <algorithm>
#include <cstdio>

#include "io/stl_ascii.h"
#include "io/stl_file.h"
#include "io/vertex_weld.h"

namespace {

constexpr int64_t kHeaderBytes = 84;
constexpr int64_t kFacetBytes = 50;

struct Facet {
  Vec3 corners[3];
  uint16_t attribute = 0;
};

// Facets of a text file; the parser is started afresh for each pass.
class AsciiFacets {
 public:
  explicit AsciiFacets(std::span<const uint8_t> file) : reader_(file) {}
  void start() { reader_.restart(); }
  // False on a parse error; `ended` tells the end of the facets apart.
  bool next(Facet& f, bool& ended) {
    const AsciiStlReader::Step s = reader_.next(f.corners);
    ended = s == AsciiStlReader::Step::End;
    f.attribute = 0;
    return s == AsciiStlReader::Step::Facet;
  }

 private:
  AsciiStlReader reader_;
};

// Stores facet i with its corners welded (starting from their home slots); a non-empty
// message means the import stops here.
inline uint8_t storeFacet(Model& m, VertexWelder& welder, const Facet& f, int32_t i,
                          const uint32_t homes[3]) {
  Tri tri{};
  int32_t* corner[3] = {&tri.a, &tri.b, &tri.c};
  for (int k = 0; k < 3; ++k) {
    *corner[k] = welder.weldAt(f.corners[k], homes[k]);
    if (m.vertexCount == m.maxv) return kMsgTooManyVerteces;
  }
  m.triVerts[i] = tri;
  m.triColor[i] = f.attribute;
  ++m.triangleCount;
  if (m.triangleCount == m.maxt) return kMsgTooManyTriangles;
  return kMsgNone;
}

// Second pass over the same bytes: they have been checked whole, so the model can be
// replaced.
template <class NextFacet>
EditResult commitFacets(Model& m, int32_t n, const ImportProgress& progress, NextFacet next) {
  m.lineCount = 0;
  clearTriangleFlags(m);
  m.vertexCount = 0;
  m.triangleCount = 0;
  VertexWelder welder(m);
  Facet f;
  for (int32_t i = 0; i < n; ++i) {
    if (i % kProgressStep == 0 && progress) progress(i, n);
    next(f);
    const uint32_t homes[3] = {welder.home(f.corners[0]), welder.home(f.corners[1]),
                               welder.home(f.corners[2])};
    const uint8_t stop = storeFacet(m, welder, f, i, homes);
    if (stop != kMsgNone) return {Request::Normals, stop};
  }
  return {Request::Normals, kMsgNone};
}

// Facets welded a group at a time. The weld of a group runs in file order, as one facet at
// a time would; only the home slots of its corners are looked up (and fetched into the
// cache) ahead, which hides most of the table's memory latency.
constexpr int32_t kFacetGroup = 1310;

Facet facetAt(const uint8_t* p) {
  Facet f;
  f.corners[0] = getVec3(p + 12);
  f.corners[1] = getVec3(p + 24);
  f.corners[2] = getVec3(p + 36);
  f.attribute = getU16(p + 48);
  return f;
}

bool finiteFacet(const Facet& f) {
  return isFinite(f.corners[0]) && isFinite(f.corners[1]) && isFinite(f.corners[2]);
}

// The n facets from `facets` on, every one already checked.
EditResult commitBinary(Model& m, const uint8_t* facets, int32_t n,
                        const ImportProgress& progress) {
  m.lineCount = 0;
  clearTriangleFlags(m);
  m.vertexCount = 0;
  m.triangleCount = 0;
  VertexWelder welder(m);
  uint32_t homes[3 * kFacetGroup];
  for (int32_t i = 0; i < n;) {
    const int32_t got = std::min(kFacetGroup, n - i);
    const uint8_t* block = facets + static_cast<size_t>(i) * kFacetBytes;
    for (int32_t j = 0; j < got; ++j) {
      const uint8_t* p = block + static_cast<size_t>(j) * kFacetBytes;
      for (int k = 0; k < 3; ++k) {
        homes[3 * j + k] = welder.home(getVec3(p + 12 + 12 * k));
        welder.prefetch(homes[3 * j + k]);
      }
    }
    for (int32_t j = 0; j < got; ++j, ++i) {
      if (i % kProgressStep == 0 && progress) progress(i, n);
      const Facet f = facetAt(block + static_cast<size_t>(j) * kFacetBytes);
      const uint8_t stop = storeFacet(m, welder, f, i, homes + 3 * j);
      if (stop != kMsgNone) return {Request::Normals, stop};
    }
  }
  return {Request::Normals, kMsgNone};
}

EditResult importBinary(Model& m, std::span<const uint8_t> file, int32_t n,
                        const ImportProgress& progress) {
  if (n == 0) return {Request::None, kMsgNoFacets};
  const uint8_t* facets = file.data() + kHeaderBytes;
  for (int32_t i = 0; i < n; ++i)
    if (!finiteFacet(facetAt(facets + static_cast<size_t>(i) * kFacetBytes)))
      return {Request::None, kMsgDamagedFile};
  return commitBinary(m, facets, n, progress);
}

EditResult importAscii(Model& m, std::span<const uint8_t> file, const ImportProgress& progress) {
  AsciiFacets facets(file);
  Facet f;
  bool ended = false;
  int64_t n = 0;
  facets.start();
  while (facets.next(f, ended)) ++n;
  if (!ended) return {Request::None, kMsgDamagedFile};
  if (n == 0) return {Request::None, kMsgNoFacets};
  if (n > INT32_MAX) return {Request::None, kMsgDamagedFile};
  facets.start();
  return commitFacets(m, static_cast<int32_t>(n), progress,
                      [&](Facet& out) { return facets.next(out, ended); });
}

}  // namespace

std::string importProgressText(int32_t i, int32_t n) {
  // Each number with a leading blank when it is not negative.
  char text[64];
  std::snprintf(text, sizeof text, "importing stl... %s%d/%s%d ", i >= 0 ? " " : "", i,
                n >= 0 ? " " : "", n);
  return text;
}

EditResult importStl(Model& m, std::span<const uint8_t> file, const ImportProgress& progress) {
  const int64_t size = static_cast<int64_t>(file.size());
  if (size >= kHeaderBytes) {
    const int32_t n = getI32(file.data() + 80);
    if (n >= 0 && kHeaderBytes + kFacetBytes * static_cast<int64_t>(n) <= size)
      return importBinary(m, file, n, progress);
  }
  if (startsWithSolid(file)) return importAscii(m, file, progress);
  return {Request::None, kMsgDamagedFile};
}
