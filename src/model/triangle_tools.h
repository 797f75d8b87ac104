// Clicks of the manual and automatic triangle tools.
#pragma once

#include <cstdint>

#include "core/input_state.h"
#include "model/edit_result.h"
#include "model/model.h"

// Appends (pickSlots[0], pickSlots[1], pickSlots[2]) selected in group 0 with `color`, or
// refuses with "Error: too many triangles" when the table is full. A slot holding no vertex
// of the model stores nothing and says nothing.
EditResult addPickedTriangle(Model& m, const ToolState& tools, uint16_t color);
// A new left press in manualtriangle: the pick sequence over pickSlots/pickCount.
EditResult manualTriangleClick(Model& m, ToolState& tools, uint16_t color);
// A new left press in autotriangle: orders the three nearest slots and adds the triangle.
EditResult autoTriangleClick(Model& m, ToolState& tools, uint16_t color);
