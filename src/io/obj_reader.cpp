// Wavefront OBJ text: `v` points and `f` polygons (fans), `g`/`o` names as part groups; every
// other statement is skipped.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_map>

#include "io/imported_mesh.h"
#include "io/text_scan.h"

namespace {

constexpr size_t kMaxGroups = kPartGroups;

// Part groups in the order their names first hold a face; names past the hundredth share
// group 99.
struct GroupTable {
  std::unordered_map<std::string, uint8_t> byName;
  std::vector<std::string>& names;
  bool named = false;  // some `g` or `o` statement was seen

  uint8_t groupOf(const std::string& name) {
    const auto it = byName.find(name);
    if (it != byName.end()) return it->second;
    if (names.size() == kMaxGroups) return kMaxGroups - 1;
    const auto g = static_cast<uint8_t>(names.size());
    names.push_back(name.empty() ? "default" : name.substr(0, kPartNameLength));
    byName.emplace(name, g);
    return g;
  }
};

// One corner of an `f` statement: "i", "i/j", "i//k" or "i/j/k"; only i counts. Negative
// indices count back from the last vertex read so far. -1 on a malformed or zero index.
int64_t cornerIndex(std::string_view token, int64_t verticesSoFar) {
  const std::string_view first = token.substr(0, token.find('/'));
  int64_t i = 0;
  if (!parseInteger(first, i) || i == 0) return -1;
  if (i < 0)
    i += verticesSoFar;
  else
    i -= 1;
  return i < 0 ? -1 : i;
}

bool parseVertex(TextLine& line, std::vector<Vec3>& out) {
  float c[3];
  for (float& v : c) {
    if (!parseFloat(line.next(), v) || !std::isfinite(v)) return false;
  }
  out.push_back({c[0], c[1], c[2]});
  return true;  // a w or colour after the point is ignored
}

// Splits the polygon into the fan (first, k, k + 1). Indices above the vertices read so far
// are checked once the whole file is read.
bool parseFace(TextLine& line, int64_t verticesSoFar, uint8_t group, ImportedMesh& out) {
  int64_t corners[3];
  int n = 0;
  for (std::string_view t = line.next(); !t.empty(); t = line.next()) {
    const int64_t i = cornerIndex(t, verticesSoFar);
    if (i < 0 || i > INT32_MAX) return false;
    if (n < 3)
      corners[n++] = i;
    else
      corners[1] = corners[2], corners[2] = i;
    if (n == 3) {
      out.triangles.push_back({static_cast<int32_t>(corners[0]), static_cast<int32_t>(corners[1]),
                               static_cast<int32_t>(corners[2])});
      out.groups.push_back(group);
    }
  }
  return n == 3;
}

}  // namespace

uint8_t parseObj(std::string_view bytes, ImportedMesh& out) {
  out = ImportedMesh{};
  // Room for one statement a line: memory set aside but never touched costs nothing, and
  // the arrays then never move while they fill.
  const auto lines = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
  out.vertices.reserve(lines);
  out.triangles.reserve(lines);
  out.groups.reserve(lines);
  GroupTable groups{{}, out.groupNames};
  std::string current;    // name of the group the next faces belong to
  int currentGroup = -1;  // its number once a face used it
  for (TextLines lines(bytes); !lines.done();) {
    TextLine line(lines.next());
    const std::string_view key = line.next();
    if (key == "v") {
      if (!parseVertex(line, out.vertices)) return kMsgDamagedFile;
    } else if (key == "f") {
      if (currentGroup < 0) currentGroup = groups.groupOf(current);
      if (!parseFace(line, static_cast<int64_t>(out.vertices.size()),
                     static_cast<uint8_t>(currentGroup), out))
        return kMsgDamagedFile;
    } else if (key == "g" || key == "o") {
      groups.named = true;
      current = std::string(line.rest());
      currentGroup = -1;
    }
  }
  if (out.triangles.empty()) return kMsgNoFacets;
  if (out.vertices.size() > static_cast<size_t>(INT32_MAX)) return kMsgDamagedFile;
  const auto v = static_cast<int32_t>(out.vertices.size());
  for (const Tri& t : out.triangles)
    if (t.a >= v || t.b >= v || t.c >= v) return kMsgDamagedFile;
  if (!groups.named) out.groupNames.clear();  // no names in the file: the model keeps its own
  return kMsgNone;
}
