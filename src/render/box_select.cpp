// The selection rectangle: the frame and depth buffers become an index buffer for the box.
#include "render/box_select.h"

#include <algorithm>

#include "render/render_passes.h"

void selectRectangle(RenderBuffers& rb, Model& m, const Camera& c, const ViewOptions& view,
                     float farDepth, int xA, int yA, int xB, int yB) {
  if (rb.renderWidth <= 0 || rb.renderHeight <= 0) return;
  // Corners in order; kept inside the frame so the fill below stays in the buffers.
  const int x0 = std::clamp(std::min(xA, xB), 0, rb.renderMaxX);
  const int x1 = std::clamp(std::max(xA, xB), 0, rb.renderMaxX);
  const int y0 = std::clamp(std::min(yA, yB), 0, rb.renderMaxY);
  const int y1 = std::clamp(std::max(yA, yB), 0, rb.renderMaxY);
  rb.clipMinX = x0;
  rb.clipMinY = y0;
  rb.clipMaxX = x1;
  rb.clipMaxY = y1;
  const uint32_t empty = static_cast<uint32_t>(m.maxt);  // no triangle index reaches it
  const size_t width = static_cast<size_t>(rb.renderWidth);
  for (int y = y0; y <= y1; ++y) {
    const size_t row = static_cast<size_t>(y) * width;
    std::fill(rb.frameBuffer.begin() + static_cast<std::ptrdiff_t>(row + x0),
              rb.frameBuffer.begin() + static_cast<std::ptrdiff_t>(row + x1 + 1), empty);
    std::fill(rb.depthBuffer.begin() + static_cast<std::ptrdiff_t>(row + x0),
              rb.depthBuffer.begin() + static_cast<std::ptrdiff_t>(row + x1 + 1), farDepth);
  }
  drawTriangles(rb, m, c, view, true);
  if (view.onlySelectVisible) {
    const bool unselect = view.unselect;
    for (int y = y0; y <= y1; ++y) {
      const uint32_t* row = rb.frameBuffer.data() + static_cast<size_t>(y) * width;
      for (int x = x0; x <= x1; ++x) {
        const uint32_t t = row[x];
        if (t >= empty || t >= static_cast<uint32_t>(m.triangleCount)) continue;
        if (unselect)
          m.triFlags[t] = static_cast<uint8_t>(m.triFlags[t] & ~kSelectedBit);
        else
          m.triFlags[t] = static_cast<uint8_t>(m.triFlags[t] | kSelectedBit);
      }
    }
  }
  resetClip(rb);
}
