#include "io/model_file.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <vector>

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

constexpr bool kLittleEndian = std::endian::native == std::endian::little;
constexpr int32_t kPieceRows = 65536;  // rows of 12 bytes read at a time

// Rows the old model does not need (see the STL import) hold the new vertices and corners
// until the file has been read to its end and checked.
template <class Row>
uint8_t* stagedBytes(FixedArray<Row>& rows, int32_t count) {
  rows.prepareRows(static_cast<size_t>(count));
  return static_cast<uint8_t*>(static_cast<void*>(rows.data()));
}

// An RQ file read front to back: the vertex and corner blocks straight into the rows that
// then become the model's, the rest into a buffer; every record is checked before anything
// changes, so the model changes only for a file that is good from end to end.
ModelLoad loadRq(Model& m, ByteSource& file) {
  ModelLoad out;
  uint8_t header[kRqHeaderBytes];
  RqHeader h;
  if (!file.read(header, sizeof header) || !readRqHeader(header, h)) return {kDamaged};
  if (h.vertices < 0 || h.triangles < 0 || h.lines < 0) return {kDamaged};
  if (h.vertices > m.maxv) return {{Request::None, kMsgTooManyVerteces}};
  if (h.triangles > m.maxt) return {{Request::None, kMsgTooManyTriangles}};
  if (h.lines > m.maxl) return {{Request::None, kMsgTooManyLines}};
  const bool colors = h.colorFlag == 1;
  if (file.size() != rqFileBytes(h.vertices, h.triangles, h.lines, colors)) return {kDamaged};
  const size_t vertexBytes = 12 * static_cast<size_t>(h.vertices);
  const size_t triangleBytes = 12 * static_cast<size_t>(h.triangles);
  uint8_t* vertices = stagedBytes(m.vertexProj, h.vertices);
  uint8_t* triangles = stagedBytes(m.triNormal, h.triangles);
  FileBuffer rest(static_cast<size_t>(file.size()) - kRqHeaderBytes - vertexBytes - triangleBytes);
  // The two large blocks a piece at a time through a buffer that stays in the cache, each
  // piece checked there before it is copied to its rows.
  std::vector<uint8_t> piece(12 * static_cast<size_t>(kPieceRows));
  const auto readChecked = [&file, &piece](uint8_t* to, int32_t rows, auto check) {
    for (int32_t i = 0; i < rows; i += kPieceRows) {
      const int32_t n = std::min(kPieceRows, rows - i);
      const size_t bytes = 12 * static_cast<size_t>(n);
      if (!file.read(piece.data(), bytes) || !check(piece.data(), n)) return false;
      std::memcpy(to + 12 * static_cast<size_t>(i), piece.data(), bytes);
    }
    return true;
  };
  const int32_t vertexCount = h.vertices;
  if (!readChecked(vertices, h.vertices, checkVertices) ||
      !readChecked(triangles, h.triangles,
                   [vertexCount](const uint8_t* p, int32_t n) {
                     return checkIndices(p, n, 3, vertexCount);
                   }) ||
      !file.read(rest.data(), rest.size()) || !file.atEnd())
    return {kDamaged};
  const uint8_t* flags = rest.data();
  const uint8_t* colorWords = flags + static_cast<size_t>(h.triangles);
  const uint8_t* lines = colorWords + (colors ? 2 * static_cast<size_t>(h.triangles) : 0);
  const uint8_t* names = lines + 8 * static_cast<size_t>(h.lines);
  if (!checkFlagBytes(flags, h.triangles) || !checkIndices(lines, h.lines, 2, h.vertices))
    return {kDamaged};
  if constexpr (!kLittleEndian || sizeof(Vec3) != 12 || sizeof(Tri) != 12) {
    // The records in place as rows (each row read before it is written).
    auto* v = static_cast<Vec3*>(static_cast<void*>(vertices));
    for (int32_t i = 0; i < h.vertices; ++i) v[i] = getVec3(vertices + 12 * size_t(i));
    auto* t = static_cast<Tri*>(static_cast<void*>(triangles));
    for (int32_t i = 0; i < h.triangles; ++i) {
      const uint8_t* r = triangles + 12 * size_t(i);
      t[i] = Tri{getI32(r), getI32(r + 4), getI32(r + 8)};
    }
  }
  m.vertexPos.swapRows(m.vertexProj);
  m.triVerts.swapRows(m.triNormal);
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

bool readsAsItGoes(const ByteSource& file, std::string_view name) {
  const std::span<const uint8_t> head = file.head();
  if (readMagic(head) == MagicCheck::Rq) return true;
  const std::string_view text(reinterpret_cast<const char*>(head.data()), head.size());
  return detectFormat(text, file.size(), name) == FileFormat::Stl && isBinaryStl(file);
}

ModelLoad loadAsRead(Model& m, ByteSource& file, const ImportProgress& progress) {
  if (readMagic(file.head()) == MagicCheck::Rq) {
    try {
      return loadRq(m, file);
    } catch (const std::bad_alloc&) {
      // No memory for the small blocks: as a file too big for the memory we may use.
      return {{Request::None, readStatusMessage(ReadStatus::TooLarge)}};
    }
  }
  return {importBinaryStl(m, file, progress)};
}

ModelLoad loadModel(Model& m, const std::string& name, const ImportProgress& progress) {
  {
    // RQ and binary STL files are read as they are loaded; the others are read whole first.
    FileReader reader(name);
    ReadStatus status = reader.status();
    if (status == ReadStatus::Ok && reader.size() > modelFileLimit(m))
      status = ReadStatus::TooLarge;
    if (status != ReadStatus::Ok) return {{Request::None, readStatusMessage(status)}};
    if (readsAsItGoes(reader, name)) return loadAsRead(m, reader, progress);
  }
  const FileBytes file = readFileBytes(name, modelFileLimit(m));
  if (file.status != ReadStatus::Ok) return {{Request::None, readStatusMessage(file.status)}};
  return loadModelBytes(m, file.bytes, name, progress);
}

ModelLoad loadModelBytes(Model& m, std::span<const uint8_t> file, std::string_view name,
                         const ImportProgress& progress) {
  SpanSource source(file);
  if (readsAsItGoes(source, name)) return loadAsRead(m, source, progress);
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
