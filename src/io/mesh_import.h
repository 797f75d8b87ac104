// The load of OBJ and PLY files through the model load.
#pragma once

#include "io/file_format.h"
#include "io/imported_mesh.h"
#include "model/binary_file.h"

// Reads and parses a whole OBJ or PLY file: kMsgNone with the checked mesh, else the refusal
// (kMsgDamagedFile, kMsgNoFacets; kMsgTooManyTriangles when it does not fit in memory).
uint8_t parseMeshFile(FileReader& file, FileFormat format, ImportedMesh& mesh);

// parseMeshFile, then commitMesh; `colors` tells whether the file gave triangle colours.
EditResult importMeshFile(Model& m, FileReader& file, FileFormat format, bool& colors);
