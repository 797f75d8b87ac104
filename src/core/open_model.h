// Opening a model file into the editor.
#pragma once

#include <string>

#include "core/editor.h"

// Load model file (name): RQ files, STL, OBJ and PLY (io/model_file.h), with the import's
// progress line on the screen. Sets the status message; changes nothing when the file is
// refused. An RQ file becomes the current file; an imported one makes its name with ".rq" for
// its extension current. Returns whether the model now holds the file's model.
bool loadModelFile(Editor& ed, const std::string& name);
