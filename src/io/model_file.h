// RQ model files, and the load that hands other files to the STL import.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "io/stl_file.h"
#include "model/edit_result.h"
#include "model/model.h"

// "torus.stl" -> "torus.rq"; a name without an extension gets ".rq" appended.
std::string importedModelName(const std::string& name);

// What a model load did.
struct ModelLoad {
  EditResult result;         // status message; Request::Normals when the model changed
  bool rqFile = false;       // an RQ file was loaded whole: it becomes the current file
  bool modelColors = false;  // that file's colour flag was 1, or the mesh file had colours
  bool meshFile = false;     // an OBJ or PLY file was loaded whole
};

// Replaces the model by the named file (RQ, STL, OBJ or PLY, by content, else by extension:
// see detectFormat), read once and whole (io/file_read.h). A name that does not exist gives
// "Error: file not found", one we may not read "Error: permission denied", a FIFO, device or
// socket "Error: damaged file"; a file refused for its counts (capacity) or its contents (short,
// long, negative counts, indices outside the vertices, part groups above 99, coordinates that
// are not finite) changes nothing and gives the capacity message or "Error: damaged file".
ModelLoad loadModel(Model& m, const std::string& name, const ImportProgress& progress);
// The same for the bytes of a whole file; `name` only serves the choice by extension.
ModelLoad loadModelBytes(Model& m, std::span<const uint8_t> file, std::string_view name,
                         const ImportProgress& progress);

// Writes the whole model as an RQ file (colour flag 1) under the name, replacing it only
// once the new contents are complete: "File saved." or "Error: write failed".
EditResult saveModel(const Model& m, const std::string& name);

// Bytes of an RQ file with these counts (64-bit).
int64_t rqFileBytes(int64_t vertices, int64_t triangles, int64_t lines, bool colors);
