#include "render/render_scene.h"

#include "core/editor.h"
#include "render/camera_ops.h"
#include "render/render_passes.h"

void renderScene(RenderBuffers& rb, Model& m, Camera& c, uint32_t viewFlags, float farDepth) {
  computeCameraTrig(c);
  clearRenderBuffers(rb, farDepth);
  rb.clipMinX = 0;
  rb.clipMinY = 0;
  rb.clipMaxX = rb.renderMaxX;
  rb.clipMaxY = rb.renderMaxY;
  if (viewFlags & kShowGrid) drawGrid(rb, c);
  if (viewFlags & kShowTris)
    projectAndDrawTriangles(rb, m, c, viewFlags);
  else
    projectVertices(m, c);
  if (viewFlags & kShowLines) drawLines(rb, m, c);
  if (viewFlags & kShowVerts) drawVertices(rb, m, c);
}
