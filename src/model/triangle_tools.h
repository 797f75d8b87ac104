// Clicks of the manual and automatic triangle tools.
#pragma once

#include <array>
#include <cstdint>

#include "model/edit_result.h"
#include "model/model.h"

// Appends (pickSlots[0], pickSlots[1], pickSlots[2]) selected in group 0 with `color`, or
// refuses with "Error: too many triangles" when the table is full. A slot holding no vertex
// of the model stores nothing and says nothing.
EditResult addPickedTriangle(Model& m, const std::array<int32_t, 3>& pickSlots, uint16_t color);
// A new left press in manualtriangle: the pick sequence over the slots and the count of picks
// held (slot 2 is the vertex under the pointer).
EditResult manualTriangleClick(Model& m, std::array<int32_t, 3>& pickSlots, int32_t& pickCount,
                               uint16_t color);
// A new left press in autotriangle: orders the three nearest slots and adds the triangle.
EditResult autoTriangleClick(Model& m, std::array<int32_t, 3>& pickSlots, uint16_t color);
