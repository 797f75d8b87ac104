// Export of the model for other programs: OBJ text and binary little-endian PLY.
#pragma once

#include <string>

#include "model/edit_result.h"
#include "model/model.h"

// OBJ: every vertex as `v`, then per part group in use a `g` with its name and the group's
// triangles as `f` (1-based indices), then the lines as `l`.
EditResult exportObj(const Model& m, const std::string& name);
// PLY binary little-endian: float x, y, z per vertex; per triangle its three indices and its
// colour as 8-bit red, green, blue (each channel times 8).
EditResult exportPly(const Model& m, const std::string& name);
// The name a part group gets in other formats: its name without the trailing blanks, or
// "group" and its number when it has none.
std::string exportGroupName(const Model& m, int group);

// " exPort stl": binary STL, or OBJ / PLY when the name ends in ".obj" / ".ply" (any case).
EditResult exportModel(const Model& m, const std::string& name);
