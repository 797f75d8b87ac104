// The load of OBJ and PLY files through the model load.
#pragma once

#include <span>

#include "io/file_format.h"
#include "io/imported_mesh.h"
#include "model/edit_result.h"
#include "model/model.h"

// Parses the bytes of a whole OBJ or PLY file: kMsgNone with the checked mesh, else the refusal
// (kMsgDamagedFile, kMsgNoFacets; kMsgTooManyTriangles when it does not fit in memory).
uint8_t parseMeshFile(std::span<const uint8_t> file, FileFormat format, ImportedMesh& mesh);

// parseMeshFile, then commitMesh; `colors` tells whether the file gave triangle colours.
EditResult importMeshFile(Model& m, std::span<const uint8_t> file, FileFormat format, bool& colors);
