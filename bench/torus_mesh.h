// Test meshes for the benchmarks: a closed torus whose vertices are each shared by six
// triangles, in the model arrays or as a binary STL file (natural or shuffled facet order).
#pragma once

#include <cstdint>
#include <string>

#include "model/model.h"

// Rings around the main axis and sides around the tube; 2 * rings * sides triangles.
struct TorusShape {
  int32_t rings = 1000;
  int32_t sides = 500;
  float majorRadius = 90.0f;
  float minorRadius = 35.0f;
};

// A torus of about `facets` triangles (rings = 2 * sides), for the command-line tools.
TorusShape torusForFacets(int64_t facets);

// Replaces the model by the torus (faces outwards), with a square of four model lines.
// False when the capacities are too small.
bool buildTorus(Model& m, const TorusShape& shape);

// Writes the torus as binary STL; `shuffled` permutes the facets with a fixed seed so the
// file is the same on every run. False on a write error.
bool writeTorusStl(const std::string& path, const TorusShape& shape, bool shuffled);
