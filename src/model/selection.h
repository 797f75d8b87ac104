// The selection bit, vertex marks, triangle compaction and the selection centre.
#pragma once

#include <cstdint>

#include "model/model.h"

int32_t markSelectedVertices(Model& m);
void markUnselectedUse(Model& m);
void compactTriangles(Model& m);
void computeSelectionCenter(const Model& m, Selection& s);
int32_t countSelected(const Model& m);
// F6: flips the selection bit of every triangle.
void invertSelection(Model& m);
