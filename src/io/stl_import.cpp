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

// Facets of a binary file whose size has been checked against its count.
class BinaryFacets {
 public:
  explicit BinaryFacets(FileReader& file) : file_(file) {}
  bool start() { return file_.seek(kHeaderBytes); }
  bool next(Facet& f) {
    const uint8_t* p = file_.take(kFacetBytes);
    if (p == nullptr) return false;
    f.corners[0] = getVec3(p + 12);
    f.corners[1] = getVec3(p + 24);
    f.corners[2] = getVec3(p + 36);
    f.attribute = getU16(p + 48);
    return isFinite(f.corners[0]) && isFinite(f.corners[1]) && isFinite(f.corners[2]);
  }

 private:
  FileReader& file_;
};

// Facets of a text file; the parser is started afresh for each pass.
class AsciiFacets {
 public:
  explicit AsciiFacets(FileReader& file) : reader_(file) {}
  bool start() { return reader_.restart(); }
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

// Second pass: the file has been checked whole, so the model can be replaced.
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
    // The file was read whole a moment ago; failing now means it changed under us.
    if (!next(f)) return {Request::Normals, kMsgDamagedFile};
    Tri tri{};
    int32_t* corner[3] = {&tri.a, &tri.b, &tri.c};
    for (int k = 0; k < 3; ++k) {
      *corner[k] = welder.weld(f.corners[k]);
      if (m.vertexCount == m.maxv) return {Request::Normals, kMsgTooManyVerteces};
    }
    m.triVerts[i] = tri;
    m.triColor[i] = f.attribute;
    ++m.triangleCount;
    if (m.triangleCount == m.maxt) return {Request::Normals, kMsgTooManyTriangles};
  }
  return {Request::Normals, kMsgNone};
}

EditResult importBinary(Model& m, FileReader& file, int32_t n, const ImportProgress& progress) {
  if (n == 0) return {Request::None, kMsgNoFacets};
  BinaryFacets facets(file);
  Facet f;
  if (!facets.start()) return {Request::None, kMsgDamagedFile};
  for (int32_t i = 0; i < n; ++i)
    if (!facets.next(f)) return {Request::None, kMsgDamagedFile};
  if (!facets.start()) return {Request::None, kMsgDamagedFile};
  return commitFacets(m, n, progress, [&](Facet& out) { return facets.next(out); });
}

EditResult importAscii(Model& m, FileReader& file, const ImportProgress& progress) {
  AsciiFacets facets(file);
  Facet f;
  bool ended = false;
  int64_t n = 0;
  if (!facets.start()) return {Request::None, kMsgDamagedFile};
  while (facets.next(f, ended)) ++n;
  if (!ended) return {Request::None, kMsgDamagedFile};
  if (n == 0) return {Request::None, kMsgNoFacets};
  if (n > INT32_MAX) return {Request::None, kMsgDamagedFile};
  if (!facets.start()) return {Request::None, kMsgDamagedFile};
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

EditResult importStl(Model& m, FileReader& file, const ImportProgress& progress) {
  const int64_t size = file.size();
  if (size >= kHeaderBytes && file.seek(80)) {
    const uint8_t* p = file.take(4);
    if (p == nullptr) return {Request::None, kMsgDamagedFile};
    const int32_t n = getI32(p);
    if (n >= 0 && kHeaderBytes + kFacetBytes * static_cast<int64_t>(n) <= size)
      return importBinary(m, file, n, progress);
  }
  if (file.seek(0) && startsWithSolid(file)) return importAscii(m, file, progress);
  return {Request::None, kMsgDamagedFile};
}
