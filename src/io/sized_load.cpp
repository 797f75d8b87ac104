#include "io/sized_load.h"

#include <algorithm>

#include "io/binary_file.h"
#include "io/file_read.h"
#include "io/mesh_import.h"
#include "io/model_blocks.h"

namespace {

constexpr int32_t kMaxCapacity = INT32_MAX - 1;

int32_t capacity(int64_t n) {
  return static_cast<int32_t>(std::clamp<int64_t>(n, 1, kMaxCapacity));
}

bool isCapacityMessage(uint8_t msg) {
  return msg == kMsgTooManyVerteces || msg == kMsgTooManyTriangles || msg == kMsgTooManyLines;
}

// RQ: the counts of the header (a refused header still gets a small model to refuse into).
SizedLoad loadRqSized(Model& m, std::span<const uint8_t> file, const std::string& name) {
  SizedLoad out;
  out.format = FileFormat::Rq;
  RqHeader h;
  const bool header = readMagic(file) == MagicCheck::Rq && readRqHeader(file, h);
  const int64_t bound = static_cast<int64_t>(file.size()) / 12 + 1;  // no count needs more rows
  const auto fit = [&](int32_t n) { return header ? capacity(std::min<int64_t>(n, bound)) : 1; };
  if (!allocateModel(m, fit(h.vertices), fit(h.triangles), fit(h.lines)).empty()) {
    out.outOfMemory = true;
    return out;
  }
  out.load = loadModelBytes(m, file, name, {});
  return out;
}

// STL: the STL import ends with a capacity message when it fills the model, so the model is
// made one row larger than the facets (binary) or the text's size allows, and grown when the
// first guess of welded vertices was too small.
SizedLoad loadStlSized(Model& m, std::span<const uint8_t> file, const std::string& name) {
  SizedLoad out;
  const int64_t size = static_cast<int64_t>(file.size());
  int64_t facets = size / 64 + 1;  // a text facet takes more than 64 bytes
  if (size >= 84) {
    const int64_t n = getI32(file.data() + 80);
    if (n >= 0 && 84 + 50 * n <= size) facets = n;
  }
  int64_t vertices = facets / 2 + 16;  // closed meshes share each corner among ~6 triangles
  for (;;) {
    if (!allocateModel(m, capacity(vertices + 1), capacity(facets + 1), 1).empty()) {
      out.outOfMemory = true;
      return out;
    }
    out.load = loadModelBytes(m, file, name, {});
    const uint8_t msg = out.load.result.message;
    if (msg == kMsgTooManyVerteces && vertices < 3 * facets) {
      vertices = 3 * facets;
    } else if (isCapacityMessage(msg) && facets < kMaxCapacity) {
      facets = std::min<int64_t>(2 * facets, kMaxCapacity);
      vertices = std::max(vertices, facets / 2 + 16);
    } else {
      return out;
    }
  }
}

SizedLoad loadMeshSized(Model& m, std::span<const uint8_t> file, FileFormat format) {
  SizedLoad out;
  out.format = format;
  ImportedMesh mesh;
  const uint8_t refused = parseMeshFile(file, format, mesh);
  if (refused != kMsgNone) {
    out.load.result = {Request::None, refused};
    return out;
  }
  if (!allocateModel(m, capacity(static_cast<int64_t>(mesh.vertices.size())),
                     capacity(static_cast<int64_t>(mesh.triangles.size())), 1)
           .empty()) {
    out.outOfMemory = true;
    return out;
  }
  out.load.result = commitMesh(m, mesh);
  out.load.modelColors = !mesh.colors.empty();
  out.load.meshFile = out.load.result.request == Request::Normals;
  return out;
}

}  // namespace

SizedLoad loadModelSized(Model& m, const std::string& name) {
  // Any file that fits in memory: the model is sized from it, not from the settings.
  const FileBytes read = readFileBytes(name, INT64_MAX);
  if (read.status != ReadStatus::Ok) {
    SizedLoad out;
    out.load.result = {Request::None, readStatusMessage(read.status)};
    return out;
  }
  const std::span<const uint8_t> file = read.bytes;
  const FileFormat format = detectFormat(file, name);
  if (format == FileFormat::Rq) return loadRqSized(m, file, name);
  if (format == FileFormat::Obj || format == FileFormat::Ply) return loadMeshSized(m, file, format);
  SizedLoad out = loadStlSized(m, file, name);
  out.format = FileFormat::Stl;
  return out;
}
