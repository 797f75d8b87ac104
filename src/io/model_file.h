// RQ model files, and the load that hands other files to the STL import.
#pragma once

#include <string>

#include "core/editor.h"

// Load model file (name): RQ files here, other files through the STL import.
// Sets the status message; changes nothing when the file is refused.
void loadModelFile(Editor& ed, const std::string& name);
