// The model's invariants, checked after loads and edits by the tests, the fuzzers and the soak.
#pragma once

#include <string>

#include "model/model.h"

// Empty when the model is well formed: 0 <= counts <= capacities, every triangle and line index
// below vertexCount, no removal mark left behind, part groups 0..99, and (when asked, as after
// a load) every coordinate finite. Otherwise a description of the first fault.
std::string checkModel(const Model& m, bool requireFiniteCoordinates = false);
