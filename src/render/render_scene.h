// One render of the scene into the frame: clear, project, then the passes the option word
// options turn on (grid, triangles, lines, vertices) over the whole frame.
#pragma once

#include <cstdint>

#include "model/model.h"
#include "render/camera.h"
#include "render/render_buffers.h"
#include "render/view_options.h"

void renderScene(RenderBuffers& rb, Model& m, Camera& c, const ViewOptions& view, float farDepth);
