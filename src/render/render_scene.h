// One render of the scene into the frame: clear, project, then the passes the option word
// turns on (grid, triangles, lines, vertices) over the whole frame.
#pragma once

#include <cstdint>

#include "model/model.h"
#include "render/camera.h"
#include "render/render_buffers.h"

void renderScene(RenderBuffers& rb, Model& m, Camera& c, uint32_t viewFlags, float farDepth);
