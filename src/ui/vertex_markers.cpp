// Vertex markers of the triangle tools and the vertex selector.
#include "ui/vertex_markers.h"

#include <algorithm>
#include <cmath>

namespace {

// Frame coordinates beyond this are held at it: far off the screen, and the screen arithmetic
// stays safe.
constexpr float kMarkerCoordinateLimit = 1.0e8f;

// Frame coordinate (relative position plus view centre) to the nearest integer, held to a
// range that keeps the screen arithmetic safe.
int32_t framePixel(float relative, int32_t centre) {
  const float at = std::clamp(relative + static_cast<float>(centre), -kMarkerCoordinateLimit,
                              kMarkerCoordinateLimit);
  return static_cast<int32_t>(std::lrint(at));
}

int32_t toScreenPixels(int32_t frame, int rdet) {
  if (rdet == 0) return frame * 2;
  if (rdet == 2) return frame >> 1;
  return frame;
}

}  // namespace

void drawVertexMarker(Editor& ed, int32_t vertex, uint32_t color) {
  if (vertex < 0 || vertex >= ed.model.vertexCount) return;
  const Vec3 p = ed.model.vertexProj[vertex];
  const int32_t x = toScreenPixels(framePixel(p.x, ed.camera.viewCenterX), ed.rdet);
  const int32_t y = toScreenPixels(framePixel(p.y, ed.camera.viewCenterY), ed.rdet);
  // A square wholly off the screen draws nothing (and never walks a long line).
  if (x < -2 || y < -2 || x > ed.screen.width + 2 || y > ed.screen.height + 2) return;
  Platform& pf = ed.platform;
  pf.drawLine(x - 2, y - 2, x + 2, y - 2, color);
  pf.drawLine(x + 2, y - 2, x + 2, y + 2, color);
  pf.drawLine(x + 2, y + 2, x - 2, y + 2, color);
  pf.drawLine(x - 2, y + 2, x - 2, y - 2, color);
}
