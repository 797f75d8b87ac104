// The selection bit, vertex marks, triangle compaction and the selection centre.
#pragma once

#include <cstdint>

#include "model/model.h"

// Values of vertexMark after the marking passes.
constexpr int32_t kMarkUnused = 0;         // no selected triangle uses the vertex
constexpr int32_t kMarkSelected = 1;       // a selected triangle uses it
constexpr int32_t kMarkUnselectedUse = 2;  // added by markUnselectedUse: an unselected one too

// vertexMark of every vertex: kMarkSelected or kMarkUnused. Returns the selected triangles.
int32_t markSelectedVertices(Model& m);
// Adds kMarkUnselectedUse to the mark of every vertex an unselected triangle uses.
void markUnselectedUse(Model& m);
void compactTriangles(Model& m);
void computeSelectionCenter(const Model& m, Selection& s);
int32_t countSelected(const Model& m);
// F6: flips the selection bit of every triangle.
void invertSelection(Model& m);
