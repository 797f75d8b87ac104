#include "io/model_file.h"

#include <bit>

#include "io/file_format.h"
#include "io/file_read.h"
#include "io/mesh_import.h"
#include "io/model_blocks.h"

int64_t rqFileBytes(int64_t vertices, int64_t triangles, int64_t lines, bool colors) {
  return kRqHeaderBytes + 12 * vertices + (colors ? 15 : 13) * triangles + 8 * lines +
         kRqNamesBytes;
}

namespace {

constexpr EditResult kDamaged{Request::None, kMsgDamagedFile};

// An RQ file read whole: every record is checked before the first one is copied, so the
// model changes only for a file that is good from end to end.
ModelLoad loadRq(Model& m, std::span<const uint8_t> file) {
  ModelLoad out;
  RqHeader h;
  if (!readRqHeader(file, h)) return {kDamaged};
  if (h.vertices < 0 || h.triangles < 0 || h.lines < 0) return {kDamaged};
  if (h.vertices > m.maxv) return {{Request::None, kMsgTooManyVerteces}};
  if (h.triangles > m.maxt) return {{Request::None, kMsgTooManyTriangles}};
  if (h.lines > m.maxl) return {{Request::None, kMsgTooManyLines}};
  const bool colors = h.colorFlag == 1;
  if (static_cast<int64_t>(file.size()) != rqFileBytes(h.vertices, h.triangles, h.lines, colors))
    return {kDamaged};
  const uint8_t* vertices = file.data() + kRqHeaderBytes;
  const uint8_t* triangles = vertices + 12 * static_cast<size_t>(h.vertices);
  const uint8_t* flags = triangles + 12 * static_cast<size_t>(h.triangles);
  const uint8_t* colorWords = flags + static_cast<size_t>(h.triangles);
  const uint8_t* lines = colorWords + (colors ? 2 * static_cast<size_t>(h.triangles) : 0);
  const uint8_t* names = lines + 8 * static_cast<size_t>(h.lines);
  if (!checkVertices(vertices, h.vertices) ||
      !checkIndices(triangles, h.triangles, 3, h.vertices) || !checkFlagBytes(flags, h.triangles) ||
      !checkIndices(lines, h.lines, 2, h.vertices))
    return {kDamaged};
  copyVertices(vertices, m, 0, h.vertices);
  copyTriangles(triangles, m, 0, h.triangles, 0);
  copyFlagBytes(flags, m, h.triangles);
  if (colors) copyColors(colorWords, m, 0, h.triangles);
  copyLines(lines, m, h.lines);
  copyPartNames(names, m);
  m.vertexCount = h.vertices;
  m.triangleCount = h.triangles;
  m.lineCount = h.lines;
  out.result = {Request::Normals, kMsgFileLoaded};
  out.rqFile = true;
  out.modelColors = colors;
  return out;
}

}  // namespace

ModelLoad loadModel(Model& m, const std::string& name, const ImportProgress& progress) {
  const FileBytes file = readFileBytes(name, modelFileLimit(m));
  if (file.status != ReadStatus::Ok) return {{Request::None, readStatusMessage(file.status)}};
  return loadModelBytes(m, file.bytes, name, progress);
}

ModelLoad loadModelBytes(Model& m, std::span<const uint8_t> file, std::string_view name,
                         const ImportProgress& progress) {
  if (readMagic(file) == MagicCheck::Rq) return loadRq(m, file);
  const FileFormat format = detectFormat(file, name);
  if (format == FileFormat::Obj || format == FileFormat::Ply) {
    ModelLoad out;
    out.result = importMeshFile(m, file, format, out.modelColors);
    out.meshFile = out.result.request == Request::Normals;
    return out;
  }
  return {importStl(m, file, progress)};
}

EditResult saveModel(const Model& m, const std::string& name) {
  SafeFileWriter out(name);
  out.put(kRqMagic, sizeof kRqMagic);
  out.putI32(m.vertexCount);
  out.putI32(m.triangleCount);
  out.putI32(m.lineCount);
  out.putI32(1);
  if constexpr (std::endian::native == std::endian::little && sizeof(Vec3) == 12 &&
                sizeof(Tri) == 12 && sizeof(Line) == 8) {
    // The file's records are the rows byte for byte: one write per block.
    out.put(m.vertexPos.data(), 12 * static_cast<size_t>(m.vertexCount));
    out.put(m.triVerts.data(), 12 * static_cast<size_t>(m.triangleCount));
    out.put(m.triFlags.data(), static_cast<size_t>(m.triangleCount));
    out.put(m.triColor.data(), 2 * static_cast<size_t>(m.triangleCount));
    out.put(m.lineVerts.data(), 8 * static_cast<size_t>(m.lineCount));
  } else {
    for (int32_t i = 0; i < m.vertexCount; ++i) out.putVec3(m.vertexPos[i]);
    for (int32_t i = 0; i < m.triangleCount; ++i) {
      const Tri t = m.triVerts[i];
      out.putI32(t.a);
      out.putI32(t.b);
      out.putI32(t.c);
    }
    out.put(m.triFlags.data(), static_cast<size_t>(m.triangleCount));
    for (int32_t i = 0; i < m.triangleCount; ++i) out.putU16(m.triColor[i]);
    for (int32_t i = 0; i < m.lineCount; ++i) {
      out.putI32(m.lineVerts[i].a);
      out.putI32(m.lineVerts[i].b);
    }
  }
  for (const auto& name12 : m.partNames) out.put(name12.data(), kPartNameLength);
  if (!out.commit()) return {Request::Present, kMsgWriteFailed};
  return {Request::Present, kMsgFileSaved};
}

std::string importedModelName(const std::string& name) {
  const size_t slash = name.find_last_of('/');
  const size_t base = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || dot <= base) return name + ".rq";
  return name.substr(0, dot) + ".rq";
}
