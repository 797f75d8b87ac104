// The triangle pass: flat-shaded scan-line fill with a 1/z depth test, culling, wireframe,
// and the marking mode the selection rectangle uses as its hit test.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "core/editor.h"
#include "render/camera_ops.h"
#include "render/overlays.h"
#include "render/render_passes.h"

namespace {

// Corners further than this many pixels from the frame origin (or not finite) cannot be
// converted to integers safely; their triangle is not drawn.
constexpr float kMaxCoordinate = 1073741824.0f;  // 2^30

struct Corner {
  float x, y, z;  // frame position with the view centre added, camera depth
};

// One edge of the scan conversion: integer x with an error-term stepper, 1/z by float adds.
struct Edge {
  int64_t x = 0;
  float iz = 0.0f, izStep = 0.0f;
  int64_t dx = 0, dy = 0, err = 0, s = 1;

  // Points the edge from its current corner (x0, iz0) towards (x1, y1, iz1) seen from row y.
  void aim(int64_t x0, float iz0, int64_t x1, int64_t y1, float iz1, int64_t y) {
    dy = y1 - y;
    if (dy <= 0) return;
    izStep = (iz1 - iz0) / static_cast<float>(dy);
    dx = x1 >= x0 ? x1 - x0 : x0 - x1;
    s = x1 >= x0 ? 1 : -1;
    err = 0;
  }
  // One row down: err += dx, then x steps while err > dy (done here in one division).
  void advance() {
    iz = iz + izStep;
    err += dx;
    if (dy > 0 && err > dy) {
      const int64_t steps = (err - 1) / dy;
      err -= steps * dy;
      x += s * steps;
    }
  }
};

// What the fill does with a row: draw it, or (selection box without the visible-parts
// option) test the span ends against the box and mark the triangle.
struct FillMode {
  bool markBySpanEnds = false;
  bool unselect = false;
  uint8_t* flags = nullptr;  // the triangle's flag byte when marking
};

uint32_t shadeTriangle(float nz, uint16_t word, bool selected, bool modelColors) {
  int32_t rgb[3] = {0, 0, 240};
  if (modelColors) {
    rgb[0] = ((word >> 10) & 31) * 8;
    rgb[1] = ((word >> 5) & 31) * 8;
    rgb[2] = (word & 31) * 8;
  }
  if (selected) rgb[0] = 224, rgb[1] = 0, rgb[2] = 0;
  float n = std::fabs(nz);
  if (!(n >= 0.0f)) n = 0.0f;  // a broken normal shades like a zero one
  n = std::min(n, 2.0f);       // beyond this every channel is already clamped to 255
  if (n < 0.5f) {
    const float f = n + 0.5f;
    for (int32_t& ch : rgb) ch = static_cast<int32_t>(std::lrint(static_cast<float>(ch) * f));
  } else {
    const int32_t bump = static_cast<int32_t>(std::lrint(192.0f * n - 96.0f));
    for (int32_t& ch : rgb) ch = std::min(ch + bump, 255);
  }
  return static_cast<uint32_t>(rgb[0] << 16 | rgb[1] << 8 | rgb[2]);
}

// One span of row y from x = xs to xe inclusive, 1/z from iz by step per pixel.
void drawSpan(RenderBuffers& rb, int64_t y, int64_t xs, int64_t xe, float iz, float step) {
  if (xe < rb.clipMinX || xs > rb.clipMaxX) return;
  if (xs < rb.clipMinX) {
    // 1/z still advances over the clipped pixels, one add each, as it would when drawn.
    for (int64_t k = xs; k < rb.clipMinX; ++k) iz = iz + step;
    xs = rb.clipMinX;
  }
  const int64_t last = std::min<int64_t>(xe, rb.clipMaxX);
  const size_t row = static_cast<size_t>(y) * static_cast<size_t>(rb.renderWidth);
  uint32_t* frame = rb.frameBuffer.data() + row;
  float* depth = rb.depthBuffer.data() + row;
  const uint32_t color = rb.drawColor;
  for (int64_t x = xs; x <= last; ++x) {
    const float z = 1.0f / iz;
    if (z < depth[x]) {
      frame[x] = color;
      depth[x] = z;
    }
    iz = iz + step;
  }
}

void fillTriangle(RenderBuffers& rb, Corner p1, Corner p2, Corner p3, const FillMode& mode) {
  // Two compare-and-swaps leave the top corner in P3; P1 and P2 stay in whatever order.
  if (p1.y < p2.y) std::swap(p1, p2);
  if (p2.y < p3.y) std::swap(p2, p3);
  for (const Corner& p : {p1, p2, p3})
    if (!(std::fabs(p.x) < kMaxCoordinate && std::fabs(p.y) < kMaxCoordinate)) return;
  const int64_t x1 = std::lrint(p1.x), y1 = std::lrint(p1.y);
  const int64_t x2 = std::lrint(p2.x), y2 = std::lrint(p2.y);
  const int64_t x3 = std::lrint(p3.x), y3 = std::lrint(p3.y);
  const float iz1 = 1.0f / p1.z, iz2 = 1.0f / p2.z, iz3 = 1.0f / p3.z;

  // Edge A runs P3 -> P2 -> P1, edge B runs P3 -> P1 -> P2.
  Edge a, b;
  a.x = b.x = x3;
  a.iz = b.iz = iz3;
  a.aim(x3, iz3, x2, y2, iz2, y3);
  b.aim(x3, iz3, x1, y1, iz1, y3);
  int turns = 0;
  for (int64_t y = y3;; ++y) {
    if (y == y2) {
      a.x = x2;
      a.iz = iz2;
      if (++turns == 1) a.aim(x2, iz2, x1, y1, iz1, y);
    }
    if (y == y1) {
      b.x = x1;
      b.iz = iz1;
      if (++turns == 1) b.aim(x1, iz1, x2, y2, iz2, y);
    }
    if (y > rb.clipMaxY) return;  // below the clip rectangle: done
    if (y >= rb.clipMinY) {       // rows above it only advance the edges
      if (mode.markBySpanEnds && ((a.x > b.x && a.x >= rb.clipMinX && a.x <= rb.clipMaxX) ||
                                  (b.x >= rb.clipMinX && b.x <= rb.clipMaxX))) {
        if (mode.unselect)
          *mode.flags = static_cast<uint8_t>(*mode.flags & ~kSelectedBit);
        else
          *mode.flags = static_cast<uint8_t>(*mode.flags | kSelectedBit);
        return;
      }
      if (a.x > b.x)
        drawSpan(rb, y, b.x, a.x, b.iz, (a.iz - b.iz) / static_cast<float>(a.x - b.x));
      else if (b.x > a.x)
        drawSpan(rb, y, a.x, b.x, a.iz, (b.iz - a.iz) / static_cast<float>(b.x - a.x));
      else
        drawSpan(rb, y, a.x, b.x, a.iz, 0.0f);
    }
    if (turns > 1) return;  // the lower of the two other corners was this row
    a.advance();
    b.advance();
  }
}

}  // namespace

void drawTriangles(RenderBuffers& rb, Model& m, const Camera& c, uint32_t viewFlags, bool marking) {
  if (m.triangleCount == 0) return;
  const bool cull = !marking && (viewFlags & kBackfaceCulling) != 0;
  const bool wireframe = (viewFlags & kWireframe) != 0;
  const bool modelColors = (viewFlags & kModelColors) != 0;
  FillMode mode;
  mode.markBySpanEnds = marking && (viewFlags & kOnlySelectVisible) == 0;
  mode.unselect = (viewFlags & kUnselect) != 0;
  const float cx = static_cast<float>(c.viewCenterX), cy = static_cast<float>(c.viewCenterY);
  const Vec3* proj = m.vertexProj.data();
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    if (marking) {
      rb.drawColor = static_cast<uint32_t>(t);  // the index is the colour; nothing is culled
    } else {
      const float nz = rotatePoint(c, m.triNormal[t]).z;
      if (cull && nz > 0.0f) continue;  // facing away
      rb.drawColor =
          shadeTriangle(nz, m.triColor[t], (m.triFlags[t] & kSelectedBit) != 0, modelColors);
    }
    const Tri tri = m.triVerts[t];
    const Vec3 va = proj[tri.a], vb = proj[tri.b], vc = proj[tri.c];
    // Any corner nearer than the near plane drops the whole triangle (no clipping).
    if (!(va.z >= kNearPlane && vb.z >= kNearPlane && vc.z >= kNearPlane)) continue;
    const Corner p1{cx + va.x, cy + va.y, va.z};
    const Corner p2{cx + vb.x, cy + vb.y, vb.z};
    const Corner p3{cx + vc.x, cy + vc.y, vc.z};
    if (wireframe) {
      drawLine3D(rb, p2.x, p2.y, p2.z, p3.x, p3.y, p3.z);
      drawLine3D(rb, p3.x, p3.y, p3.z, p1.x, p1.y, p1.z);
      drawLine3D(rb, p2.x, p2.y, p2.z, p1.x, p1.y, p1.z);
      continue;
    }
    mode.flags = &m.triFlags[t];
    fillTriangle(rb, p1, p2, p3, mode);
  }
}
