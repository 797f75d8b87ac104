// The guillotine (cut along an axis-aligned plane) and the drill (punch along the view).
#pragma once

#include <cstdint>

#include "model/edit_result.h"
#include "model/fields.h"
#include "model/model.h"
#include "render/camera.h"

enum CutAxis : int { kAxisX = 0, kAxisY = 1, kAxisZ = 2 };

// Cuts every straddling triangle at the plane coordinate[axis] = round(X1/Y1/Z1) and leaves
// the selection holding exactly the pieces at or above it. A triangle that no longer fits is
// left whole (message 3 or 4); the cut goes on with the next one.
EditResult sliceModel(Model& m, const Fields& f, int axis);

// Removes every triangle in front of the camera whose three corners project strictly inside
// the circle at (screenX, screenY) with "Radius", using the projections of the last render.
EditResult drillModel(Model& m, const Fields& f, const Camera& cam);
