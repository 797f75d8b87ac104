// Part files: the selected triangles with the vertices they use, in the leading blocks of the
// RQ layout (header, vertices, triangles, flag bytes, colours; no lines, no names).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/edit_result.h"
#include "model/model.h"

// Merges a part file (or a whole model file, whose lines and names are ignored) behind the
// model's elements: vertices in file order, indices moved past the old vertices, triangles
// unselected in `group`, colours from the file when its colour flag is 1. Refusals change
// nothing: "Error: file not found", "Error: not an RQ file", the capacity messages,
// "Error: damaged file" (short file, negative counts, an index outside the part's vertices,
// a coordinate that is not finite). The file is read once and whole; a name we may not read
// gives "Error: permission denied", a FIFO, device or socket "Error: damaged file".
EditResult loadPart(Model& m, const std::string& name, uint8_t group);
// The same for the bytes of a whole file.
EditResult loadPartBytes(Model& m, std::span<const uint8_t> file, uint8_t group);

// Writes the selected triangles and the vertices they use (in index order); leaves each used
// vertex's file index in vertexMark. "Nothing selected!" (no file touched), "File saved." or
// "Error: write failed" (the old file then unchanged).
EditResult savePart(Model& m, const std::string& name);
