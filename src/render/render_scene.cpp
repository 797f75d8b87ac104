#include "render/render_scene.h"

#include "render/camera_ops.h"
#include "render/render_passes.h"

void renderScene(RenderBuffers& rb, Model& m, Camera& c, const ViewOptions& view, float farDepth) {
  computeCameraTrig(c);
  clearRenderBuffers(rb, farDepth);
  resetClip(rb);
  if (view.grid) drawGrid(rb, c);
  if (view.triangles)
    projectAndDrawTriangles(rb, m, c, view);
  else
    projectVertices(m, c);
  if (view.lines) drawLines(rb, m, c);
  if (view.vertices) drawVertices(rb, m, c);
}
