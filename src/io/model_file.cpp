#include "io/model_file.h"

#include <bit>

#include "model/model_blocks.h"

int64_t rqFileBytes(int64_t vertices, int64_t triangles, int64_t lines, bool colors) {
  return kRqHeaderBytes + 12 * vertices + (colors ? 15 : 13) * triangles + 8 * lines +
         kRqNamesBytes;
}

namespace {

constexpr EditResult kDamaged{Request::None, kMsgDamagedFile};

// Every record of the file after the header, checked without touching the model.
bool checkRqBody(FileReader& file, const RqHeader& h) {
  return checkVertices(file, h.vertices) && checkIndices(file, h.triangles, 3, h.vertices) &&
         checkFlagBytes(file, h.triangles) &&
         (h.colorFlag != 1 || skipBytes(file, 2 * static_cast<int64_t>(h.triangles))) &&
         checkIndices(file, h.lines, 2, h.vertices);
}

bool readRqBody(FileReader& file, Model& m, const RqHeader& h) {
  return readVertices(file, m, 0, h.vertices) && readTriangles(file, m, 0, h.triangles, 0) &&
         readFlagBytes(file, m, h.triangles) &&
         (h.colorFlag != 1 || readColors(file, m, 0, h.triangles)) && readLines(file, m, h.lines) &&
         readPartNames(file, m);
}

ModelLoad loadRq(Model& m, FileReader& file) {
  ModelLoad out;
  RqHeader h;
  if (!readRqHeader(file, h)) return {kDamaged};
  if (h.vertices < 0 || h.triangles < 0 || h.lines < 0) return {kDamaged};
  if (h.vertices > m.maxv) return {{Request::None, kMsgTooManyVerteces}};
  if (h.triangles > m.maxt) return {{Request::None, kMsgTooManyTriangles}};
  if (h.lines > m.maxl) return {{Request::None, kMsgTooManyLines}};
  if (file.size() != rqFileBytes(h.vertices, h.triangles, h.lines, h.colorFlag == 1))
    return {kDamaged};
  if (!checkRqBody(file, h)) return {kDamaged};
  if (!file.seek(kRqHeaderBytes)) return {kDamaged};
  if (!readRqBody(file, m, h)) {
    // The file changed between the two passes: what was read is not a model.
    m.vertexCount = m.triangleCount = m.lineCount = 0;
    return {{Request::Normals, kMsgDamagedFile}};
  }
  m.vertexCount = h.vertices;
  m.triangleCount = h.triangles;
  m.lineCount = h.lines;
  out.result = {Request::Normals, kMsgFileLoaded};
  out.rqFile = true;
  out.modelColors = h.colorFlag == 1;
  return out;
}

}  // namespace

ModelLoad loadModel(Model& m, const std::string& name, const ImportProgress& progress) {
  FileReader file;
  if (!file.open(name)) return {{Request::None, kMsgFileNotFound}};
  if (readMagic(file) == MagicCheck::Rq) return loadRq(m, file);
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

bool loadModelFile(Editor& ed, const std::string& name) {
  Platform& p = ed.platform;
  double lastRefresh = -1.0;
  // The line is drawn only when the window is about to show it (at most ~30 times a second)
  // and for the last group of facets, which stays on the screen until the next present:
  // the lines in between would never be seen, and drawing each costs more than its facets.
  const ImportProgress progress = [&](int32_t i, int32_t n) {
    const double now = p.seconds();
    const bool show = lastRefresh < 0.0 || now - lastRefresh >= 1.0 / 30.0;
    if (!show && i < n - kProgressStep) return;
    p.setTextCursor(23, 1);
    p.setTextColors(ed.uiColors[5], ed.uiColors[0]);
    p.print(importProgressText(i, n));
    if (show) {
      p.refresh();
      lastRefresh = now;
    }
  };
  const ModelLoad load = loadModel(ed.model, name, progress);
  if (load.rqFile) {
    ed.currentFile = name;
    ed.viewFlags &= ~static_cast<uint32_t>(kModelColors);
    if (load.modelColors) ed.viewFlags |= kModelColors;
  }
  // An imported model takes the imported file's name, so that Save never writes over the
  // model that was open before.
  const bool imported = !load.rqFile && load.result.request == Request::Normals &&
                        load.result.message != kMsgDamagedFile;
  if (imported) ed.currentFile = importedModelName(name);
  if (load.result.message != kMsgNone) ed.requests.statusMessage = load.result.message;
  return load.rqFile || imported;
}
