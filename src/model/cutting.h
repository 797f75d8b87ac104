// The guillotine (cut along an axis-aligned plane) and the drill (punch along the view).
#pragma once

#include <cstdint>

#include "model/edit_result.h"
#include "model/model.h"

struct History;

enum CutAxis : int { kAxisX = 0, kAxisY = 1, kAxisZ = 2 };

// Cuts every straddling triangle at the plane coordinate[axis] = round(at) (X1, Y1 or Z1 of
// the guillotine) and leaves the selection holding exactly the pieces at or above it. A
// triangle that no longer fits is left whole (message 3 or 4); the cut goes on with the next.
// Given a history, keeps for it the corner rows it overwrites and, when slivers are removed,
// the arrays compacted (its scope says Change::Own for them).
EditResult sliceModel(Model& m, int axis, float at, History* h = nullptr);

// The drill's circle in the frame, relative to the view centre like the projections, and the
// depth beyond which corners do not count ("drawdepth").
struct DrillCircle {
  float x = 0.0f, y = 0.0f;
  float radius = 0.0f;
  float farDepth = 0.0f;
};

// Removes every triangle in front of the camera whose three corners project strictly inside
// the circle, using the projections of the last render.
EditResult drillModel(Model& m, const DrillCircle& circle);
