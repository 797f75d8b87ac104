// Undoing the last element, moving and deleting one picked vertex, and clearing the model.
#pragma once

#include <cstdint>

#include "model/edit_result.h"
#include "model/model.h"

// Drops every triangle and line that uses vertex v, keeping the order; indices unchanged.
void removeVertexUses(Model& m, int32_t v);

// "Delete last vert", "delete last Tri", "deLete last line": "Deleted!" and a render, or
// nothing at all when the table is empty.
EditResult deleteLastVertex(Model& m);
EditResult deleteLastTriangle(Model& m);
EditResult deleteLastLine(Model& m);

// "Move vert": the picked vertex goes to `to` (X1, Y1, Z1); nothing without a valid pick.
EditResult moveVertex(Model& m, Vec3 to, int32_t picked);
// "Delete vert": removes the picked vertex and its users, re-indexing the later vertices;
// the pick is cleared. Nothing without a valid pick.
EditResult deleteVertex(Model& m, int32_t& picked);

// " New": every flag byte 0, all counts 0, "Model cleared!".
EditResult clearModel(Model& m);
