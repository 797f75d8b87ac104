// The selection rectangle: marks the triangles found in a frame rectangle.
#pragma once

#include <cstdint>

#include "model/model.h"
#include "render/camera.h"
#include "render/render_buffers.h"
#include "render/view_options.h"

// Corners in frame pixels in any order. Runs the triangle pass in marking mode inside the
// rectangle and sets (or with the unselect option clears) the selection bit of what it finds.
// The caller raises the render request afterwards.
void selectRectangle(RenderBuffers& rb, Model& m, const Camera& c, const ViewOptions& view,
                     float farDepth, int xA, int yA, int xB, int yB);
