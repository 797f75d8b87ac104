#include "fuzz_checks.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "core/settings.h"
#include "io/file_format.h"
#include "io/imported_mesh.h"
#include "io/model_file.h"
#include "io/part_file.h"
#include "model/model_check.h"
#include "ui/prompt.h"

namespace {

constexpr int32_t kMaxv = 64, kMaxt = 64, kMaxl = 16;
constexpr uint8_t kPartGroup = 5;

// The starting model: the default pyramid with one triangle selected and a coloured one.
Model knownModel() {
  Model m;
  if (!allocateModel(m, kMaxv, kMaxt, kMaxl).empty() || !putDefaultModel(m)) std::abort();
  m.triFlags[0] = kSelectedBit | 3;
  m.triColor[1] = colorWord(31, 2, 7);
  setPartName(m, 3, "roof");
  return m;
}

// A per-process file the loaders read the input from; `ext` names the format the extension
// fallback picks.
std::string inputPath(const std::string& ext = "") {
  static const std::string path = [] {
    const char* shm = "/dev/shm";
    const std::filesystem::path dir = std::filesystem::is_directory(shm)
                                          ? std::filesystem::path(shm)
                                          : std::filesystem::temp_directory_path();
    return (dir / ("kovrin_fuzz_" + std::to_string(::getpid()))).string();
  }();
  return path + ext;
}

bool writeInput(const uint8_t* data, size_t size, const std::string& ext = "") {
  std::FILE* f = std::fopen(inputPath(ext).c_str(), "wb");
  if (!f) return false;
  const bool ok = (size == 0 || std::fwrite(data, 1, size, f) == size);
  return std::fclose(f) == 0 && ok;
}

// Rows 0 .. count-1 of two models are the same (the elements a refused load must keep).
bool sameRows(const Model& a, const Model& b) {
  if (a.vertexCount != b.vertexCount || a.triangleCount != b.triangleCount ||
      a.lineCount != b.lineCount || a.partNames != b.partNames)
    return false;
  for (int32_t i = 0; i < a.vertexCount; ++i)
    if (std::memcmp(&a.vertexPos[i], &b.vertexPos[i], sizeof(Vec3)) != 0) return false;
  for (int32_t i = 0; i < a.triangleCount; ++i) {
    const Tri s = a.triVerts[i], t = b.triVerts[i];
    if (s.a != t.a || s.b != t.b || s.c != t.c || a.triFlags[i] != b.triFlags[i] ||
        a.triColor[i] != b.triColor[i])
      return false;
  }
  for (int32_t i = 0; i < a.lineCount; ++i)
    if (a.lineVerts[i].a != b.lineVerts[i].a || a.lineVerts[i].b != b.lineVerts[i].b) return false;
  return true;
}

bool isRefusal(uint8_t message) {
  return message == kMsgDamagedFile || message == kMsgNoFacets || message == kMsgNotRqFile ||
         message == kMsgFileNotFound;
}
bool isCapacity(uint8_t message) {
  return message == kMsgTooManyVerteces || message == kMsgTooManyTriangles ||
         message == kMsgTooManyLines;
}

// The model load on the bytes, under a name with the extension `ext`. RQ, OBJ and PLY files
// are checked whole before anything changes, so a refusal, a capacity message included,
// must leave the model as it was; the STL import keeps what it read up to its capacity.
std::string checkModelLoad(const uint8_t* data, size_t size, const std::string& ext = "") {
  if (!writeInput(data, size, ext)) return "";  // no room for the input: nothing to test
  Model m = knownModel();
  const Model before = knownModel();
  const ModelLoad load = loadModel(m, inputPath(ext), [](int32_t, int32_t) {});
  ::unlink(inputPath(ext).c_str());
  const std::string fault = checkModel(m, true);
  if (!fault.empty()) return "model load: " + fault;
  const std::string_view head(reinterpret_cast<const char*>(data),
                              std::min(size, kFormatHeadBytes));
  const FileFormat format = detectFormat(head, static_cast<int64_t>(size), inputPath(ext));
  const bool rq = size >= 5 && std::memcmp(data, "RQNEW", 5) == 0;
  const bool whole = rq || format == FileFormat::Obj || format == FileFormat::Ply;
  const uint8_t msg = load.result.message;
  if (isRefusal(msg) || (whole && isCapacity(msg))) {
    if (!sameRows(m, before)) return "model load: a refused file changed the model";
    if (load.rqFile || load.meshFile) return "model load: a refused file counted as loaded";
  } else if (msg == kMsgFileLoaded) {
    if (!rq || !load.rqFile) return "model load: \"File loaded.\" for a file that is not RQ";
  } else if (!(msg == kMsgNone || isCapacity(msg)) || rq) {
    return "model load: unexpected message " + std::to_string(msg);
  }
  if (load.meshFile) {
    if (msg != kMsgNone || !whole) return "model load: a mesh file loaded with a message";
    if (m.lineCount != 0) return "model load: a mesh file kept lines";
    for (int32_t t = 0; t < m.triangleCount; ++t)
      if (m.triFlags[t] & kSelectedBit) return "model load: a mesh file selected a triangle";
  }
  return "";
}

// The parser alone: a refusal or a mesh whose indices all lie within its vertices and whose
// points are finite; the same bytes parse the same way twice.
std::string checkMeshParse(FileFormat format, const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ImportedMesh a, b;
  const auto parse = [&](ImportedMesh& out) {
    return format == FileFormat::Obj ? parseObj(bytes, out) : parsePly(bytes, out);
  };
  const uint8_t msg = parse(a);
  if (parse(b) != msg) return "mesh parse: not deterministic";
  if (msg != kMsgNone)
    return msg == kMsgDamagedFile || msg == kMsgNoFacets ? "" : "mesh parse: odd refusal";
  if (a.triangles.empty()) return "mesh parse: accepted without triangles";
  for (const Tri& t : a.triangles)
    for (int32_t v : {t.a, t.b, t.c})
      if (v < 0 || static_cast<size_t>(v) >= a.vertices.size()) return "mesh parse: index outside";
  for (const Vec3& p : a.vertices)
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
      return "mesh parse: a point is not finite";
  if ((!a.groups.empty() && a.groups.size() != a.triangles.size()) ||
      (!a.colors.empty() && a.colors.size() != a.triangles.size()) || a.groupNames.size() > 100)
    return "mesh parse: per-triangle lists do not match";
  for (uint8_t g : a.groups)
    if (g >= kPartGroups || (!a.groupNames.empty() && g >= a.groupNames.size()))
      return "mesh parse: a group without a name";
  return "";
}

std::string checkPartLoad(const uint8_t* data, size_t size) {
  if (!writeInput(data, size)) return "";
  Model m = knownModel();
  const Model before = knownModel();
  const EditResult r = loadPart(m, inputPath(), kPartGroup);
  const std::string fault = checkModel(m, true);
  if (!fault.empty()) return "part load: " + fault;
  if (r.message != kMsgFileLoaded) {
    if (!sameRows(m, before)) return "part load: a refused file changed the model";
    if (!isRefusal(r.message) && !(isCapacity(r.message) && r.message != kMsgTooManyLines))
      return "part load: unexpected message " + std::to_string(r.message);
    return "";
  }
  // Merged behind the old elements, which stay as they were; new triangles unselected.
  if (m.lineCount != before.lineCount || m.partNames != before.partNames)
    return "part load: lines or names changed";
  for (int32_t i = 0; i < before.vertexCount; ++i)
    if (std::memcmp(&m.vertexPos[i], &before.vertexPos[i], sizeof(Vec3)) != 0)
      return "part load: an old vertex moved";
  for (int32_t i = 0; i < before.triangleCount; ++i)
    if (m.triFlags[i] != before.triFlags[i] || m.triVerts[i].a != before.triVerts[i].a)
      return "part load: an old triangle changed";
  for (int32_t i = before.triangleCount; i < m.triangleCount; ++i) {
    if (m.triFlags[i] != kPartGroup) return "part load: a new triangle's flag byte is wrong";
    const Tri t = m.triVerts[i];
    if (t.a < before.vertexCount || t.b < before.vertexCount || t.c < before.vertexCount)
      return "part load: a new triangle uses an old vertex";
  }
  return "";
}

std::string checkSettings(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Settings s;
  scanSettings(text, s);
  // Scanning is a pure function of the text: a second scan from other values agrees on the
  // keys the text holds and keeps the rest.
  Settings t;
  t.mode = -7;
  scanSettings(text, t);
  if (s.cdep != t.cdep || s.rdet != t.rdet || s.maxv != t.maxv || s.maxt != t.maxt ||
      s.maxl != t.maxl)
    return "settings: a scan depends on the values before it";
  if (s.mode != t.mode && !(s.mode == 19 && t.mode == -7))
    return "settings: mode scanned inconsistently";
  return "";
}

std::string checkPrompt(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const std::string answer = cutPromptAnswer(line);
  if (answer.size() > 4096) return "prompt: answer longer than 4096 characters";
  if (!answer.empty() && line.find(answer) == std::string_view::npos)
    return "prompt: answer is not a piece of the line";
  size_t start = line.find_first_not_of(" \t");
  const bool quoted = start != std::string_view::npos && line[start] == '"';
  if (quoted ? answer.find('"') != std::string::npos : answer.find(',') != std::string::npos)
    return "prompt: answer runs past its field";
  if (!answer.empty() && (answer.front() == ' ' || answer.front() == '\t') && !quoted)
    return "prompt: leading blank kept";
  return "";
}

}  // namespace

bool fuzzTargetByName(std::string_view name, FuzzTarget& out) {
  static constexpr std::pair<std::string_view, FuzzTarget> kNames[] = {
      {"model", FuzzTarget::Model},   {"stl", FuzzTarget::Stl},
      {"part", FuzzTarget::Part},     {"settings", FuzzTarget::Settings},
      {"prompt", FuzzTarget::Prompt}, {"obj", FuzzTarget::Obj},
      {"ply", FuzzTarget::Ply},
  };
  for (const auto& [n, t] : kNames)
    if (n == name) {
      out = t;
      return true;
    }
  return false;
}

std::string runFuzzCheck(FuzzTarget target, const uint8_t* data, size_t size) {
  switch (target) {
    case FuzzTarget::Model:
    case FuzzTarget::Stl:
      return checkModelLoad(data, size);
    case FuzzTarget::Part:
      return checkPartLoad(data, size);
    case FuzzTarget::Settings:
      return checkSettings(data, size);
    case FuzzTarget::Prompt:
      return checkPrompt(data, size);
    case FuzzTarget::Obj:
    case FuzzTarget::Ply: {
      const bool obj = target == FuzzTarget::Obj;
      const std::string fault = checkMeshParse(obj ? FileFormat::Obj : FileFormat::Ply, data, size);
      return fault.empty() ? checkModelLoad(data, size, obj ? ".obj" : ".ply") : fault;
    }
  }
  return "unknown target";
}

int fuzzOne(FuzzTarget target, const uint8_t* data, size_t size) {
  const std::string fault = runFuzzCheck(target, data, size);
  if (!fault.empty()) {
    std::fprintf(stderr, "kovrin fuzz fault: %s\n", fault.c_str());
    __builtin_trap();
  }
  return 0;
}
