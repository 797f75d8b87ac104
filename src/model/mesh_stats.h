// Measures of a model for scripts: surface area, signed volume, edge sharing, groups in use.
#pragma once

#include <array>
#include <cstdint>

#include "model/model.h"

struct MeshStats {
  double surfaceArea = 0.0;
  double volume = 0.0;    // signed: positive for a closed surface whose normals point outwards
  int64_t openEdges = 0;  // edges of exactly one triangle
  int64_t overSharedEdges = 0;                        // edges of more than two triangles
  std::array<int32_t, kPartGroups> groupTriangles{};  // triangles per part group
};

// Edges join two different vertex indices; a triangle's corner order does not matter for
// the sharing counts.
MeshStats meshStats(const Model& m);
