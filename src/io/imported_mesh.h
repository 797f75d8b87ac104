// A mesh read from another program's file (OBJ, PLY): parsed and checked whole into plain
// arrays first, so that a refused file never touches the model; then copied in one step.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/edit_result.h"
#include "model/model.h"

struct ImportedMesh {
  std::vector<Vec3> vertices;           // in file order, equal points kept apart
  std::vector<Tri> triangles;           // polygons split into fans, indices checked
  std::vector<uint8_t> groups;          // part group 0..99 per triangle; empty: all group 0
  std::vector<uint16_t> colors;         // colour word per triangle; empty: the file has none
  std::vector<std::string> groupNames;  // names of groups 0, 1, ...; empty: keep the model's
};

// Parsers of a whole file's bytes. kMsgNone when `out` holds a checked mesh; otherwise
// kMsgDamagedFile (malformed, truncated, indices outside the vertices, coordinates that are
// not finite) or kMsgNoFacets (no polygon), and `out` is not to be used.
uint8_t parseObj(std::string_view bytes, ImportedMesh& out);
uint8_t parsePly(std::string_view bytes, ImportedMesh& out);

// Replaces the model by the mesh: a capacity message and nothing changed when it does not
// fit; otherwise lines 0, selection cleared, the mesh's groups, colours and names.
EditResult commitMesh(Model& m, const ImportedMesh& mesh);

// 5:5:5 colour word of three 8-bit channels (the top five bits of each).
inline uint16_t colorWord8(uint32_t r, uint32_t g, uint32_t b) {
  return colorWord(static_cast<int32_t>(r >> 3), static_cast<int32_t>(g >> 3),
                   static_cast<int32_t>(b >> 3));
}
