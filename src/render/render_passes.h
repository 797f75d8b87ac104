// The render passes: clear, triangles, overlays, presentation.
#pragma once

#include <cstdint>

#include "model/model.h"
#include "render/camera.h"
#include "render/render_buffers.h"
#include "render/view_options.h"

// Sizes the frame buffers from the screen and detail level (0 half, 2 double, else same)
// and sets the whole-frame clip rectangle; `maxv` sizes the per-vertex table of the
// triangle pass. Returns false when they cannot be allocated.
bool allocateRenderBuffers(RenderBuffers& rb, int screenWidth, int screenHeight, int rdet,
                           int32_t maxv = 0);

void clearRenderBuffers(RenderBuffers& rb, float farDepth);
// Display mode when `marking` is false; marking mode (triangle indices / selection marks)
// otherwise. `view` steers culling, wireframe, model colours, visible-parts and unselect.
void drawTriangles(RenderBuffers& rb, Model& m, const Camera& c, const ViewOptions& view,
                   bool marking);
// projectVertices followed by the display pass of drawTriangles, with the same result; the
// projection fills the pass's per-vertex table in the same sweep.
void projectAndDrawTriangles(RenderBuffers& rb, Model& m, const Camera& c, const ViewOptions& view);
void drawGrid(RenderBuffers& rb, const Camera& c);
void drawLines(RenderBuffers& rb, const Model& m, const Camera& c);
void drawVertices(RenderBuffers& rb, const Model& m, const Camera& c);

// Converts the frame to the screen's depth and scale (rdet 0 doubles, 2 averages).
void presentFrame(const RenderBuffers& rb, int rdet, int screenDepth, uint8_t* screen, int pitch,
                  int screenWidth, int screenHeight);
// The colour (0x00RRGGBB) the screen shows for palette index i at depth 8.
uint32_t eightBitPaletteColor(int i);
uint32_t toPaletteIndex(uint32_t rgb);
