// Loading a file into a model sized for it (the command-line tools): capacities come from
// the file, not from the settings.
#pragma once

#include <string>

#include "io/file_format.h"
#include "io/model_file.h"

struct SizedLoad {
  ModelLoad load;  // as the editor's load reports it
  FileFormat format = FileFormat::Stl;
  bool outOfMemory = false;  // the model the file needs does not fit in memory
};

// Allocates `m` for the named file and loads it with the editor's load. A load succeeded
// when load.result.request is Request::Normals and its message is none or "File loaded.".
SizedLoad loadModelSized(Model& m, const std::string& name);
