// Ground grid, model lines and vertex dots, all depth-tested against the frame.
#include "render/overlays.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "render/camera_ops.h"
#include "render/render_passes.h"
#include "render/repeated_add.h"

namespace {

// Lines longer than this many pixels are not drawn: their point count would not fit the
// integer arithmetic, and stepping through them would stall the editor.
constexpr float kMaxLineSteps = 1073741824.0f;  // 2^30

constexpr uint32_t kGridXColor = 0x00FFFF00;
constexpr uint32_t kGridYColor = 0x0000FFFF;
constexpr uint32_t kLineColor = 0x00FF8800;
constexpr uint32_t kVertexColor = 0x00FFFFFF;

struct GridEnd {
  float x, y, depth;
};

// Rotates a grid end and projects it; false when it lies nearer than the near plane.
bool projectGridEnd(const Camera& c, Vec3 p, GridEnd& out) {
  const Vec3 r = rotatePoint(c, p);
  const float depth = r.z + c.cameraDistance;
  if (depth < kNearPlane) return false;
  out.x = r.x * c.cameraZoom / depth + static_cast<float>(c.viewCenterX);
  out.y = r.y * c.cameraZoom / depth + static_cast<float>(c.viewCenterY);
  out.depth = depth;
  return true;
}

void gridSegment(RenderBuffers& rb, const Camera& c, Vec3 first, Vec3 second) {
  GridEnd a{}, b{};
  if (!projectGridEnd(c, second, b)) return;  // the second end is tested first
  if (!projectGridEnd(c, first, a)) return;
  drawLine3D(rb, a.x, a.y, a.depth, b.x, b.y, b.depth);
}

// Where a coordinate stepped from `start` by `step` lies against the frame's 0 .. `maxPixel`:
// -1 before, 0 on, 1 after, in the direction of the step.
int side(float v, float step, int32_t maxPixel) {
  int where = 0;
  if (!(std::fabs(v) < kMaxLineSteps))
    where = v < 0.0f ? -1 : 1;
  else if (const long p = std::lrint(v); p < 0)
    where = -1;
  else if (p > maxPixel)
    where = 1;
  return step < 0.0f ? -where : where;
}

struct StepRange {
  long first, last;  // empty when first > last
};

// The steps 0 .. n at which the coordinate rounds onto the frame. The repeated sum moves one
// way only, so they are one run, found by halving with the closed-form sum.
StepRange onFrameSteps(float start, float step, long n, int32_t maxPixel) {
  const auto sideAt = [&](long k) { return side(repeatedAdd(start, step, k), step, maxPixel); };
  // The first step at which the side is at least `want` (n + 1 if none).
  const auto firstAtLeast = [&](int want) {
    long lo = 0, hi = n + 1;
    while (lo < hi) {
      const long mid = lo + (hi - lo) / 2;
      if (sideAt(mid) >= want)
        hi = mid;
      else
        lo = mid + 1;
    }
    return lo;
  };
  return {firstAtLeast(0), firstAtLeast(1) - 1};
}

}  // namespace

void drawLine3D(RenderBuffers& rb, float xs, float ys, float zs, float xe, float ye, float ze) {
  const float izs = 1.0f / zs, ize = 1.0f / ze;
  const float dx = xe - xs, dy = ye - ys, diz = ize - izs;
  const float adx = std::fabs(dx), ady = std::fabs(dy);
  if (!(adx < kMaxLineSteps && ady < kMaxLineSteps)) return;  // also catches NaN
  const long nx = std::lrint(adx), ny = std::lrint(ady);
  const long n = nx > ny ? nx : ny;
  if (n == 0) return;  // both ends within half a pixel of each other
  const float fn = static_cast<float>(n);
  const float sx = dx / fn, sy = dy / fn, siz = diz / fn;
  const uint32_t color = rb.drawColor;
  const int32_t maxX = rb.renderMaxX, maxY = rb.renderMaxY, width = rb.renderWidth;
  uint32_t* frame = rb.frameBuffer.data();
  float* depth = rb.depthBuffer.data();
  // Points off the frame draw nothing; a long line steps only through those that may.
  long first = 0, last = n;
  if (n > static_cast<long>(maxX) + maxY + 2) {
    const StepRange along = onFrameSteps(xs, sx, n, maxX), down = onFrameSteps(ys, sy, n, maxY);
    first = std::max(along.first, down.first);
    last = std::min(along.last, down.last);
  }
  float x = repeatedAdd(xs, sx, first), y = repeatedAdd(ys, sy, first);
  float iz = repeatedAdd(izs, siz, first);
  for (long k = first; k <= last; ++k) {
    // Off-frame points still advance; the float steps are never recomputed from k.
    if (std::fabs(x) < kMaxLineSteps && std::fabs(y) < kMaxLineSteps) {
      const long px = std::lrint(x);
      if (px >= 0 && px <= maxX) {
        const long py = std::lrint(y);
        if (py >= 0 && py <= maxY) {
          const size_t at =
              static_cast<size_t>(py) * static_cast<size_t>(width) + static_cast<size_t>(px);
          const float z = 1.0f / iz;
          if (z < depth[at]) {
            frame[at] = color;
            depth[at] = z;
          }
        }
      }
    }
    x = x + sx;
    y = y + sy;
    iz = iz + siz;
  }
}

void drawGrid(RenderBuffers& rb, const Camera& c) {
  for (int k = 0; k < 9; ++k) {
    const float i = static_cast<float>(-100 + 25 * k);
    rb.drawColor = kGridXColor;
    gridSegment(rb, c, Vec3{i, -100.0f, 0.0f}, Vec3{i, 100.0f, 0.0f});
    rb.drawColor = kGridYColor;
    gridSegment(rb, c, Vec3{-100.0f, i, 0.0f}, Vec3{100.0f, i, 0.0f});
  }
}

void drawLines(RenderBuffers& rb, const Model& m, const Camera& c) {
  if (m.lineCount == 0) return;
  rb.drawColor = kLineColor;
  const float cx = static_cast<float>(c.viewCenterX), cy = static_cast<float>(c.viewCenterY);
  for (int32_t l = 0; l < m.lineCount; ++l) {
    const Line line = m.lineVerts[l];
    const Vec3 a = m.vertexProj[line.a];
    if (a.z < kNearPlane) continue;
    const Vec3 b = m.vertexProj[line.b];
    if (b.z < kNearPlane) continue;
    drawLine3D(rb, cx + a.x, cy + a.y, a.z, cx + b.x, cy + b.y, b.z);
  }
}

void drawVertices(RenderBuffers& rb, const Model& m, const Camera& c) {
  if (m.vertexCount == 0) return;
  const float cx = static_cast<float>(c.viewCenterX), cy = static_cast<float>(c.viewCenterY);
  const float maxX = static_cast<float>(rb.renderMaxX) + 0.5f;
  const float maxY = static_cast<float>(rb.renderMaxY) + 0.5f;
  for (int32_t v = 0; v < m.vertexCount; ++v) {
    const Vec3 p = m.vertexProj[v];
    if (!(p.z >= kNearPlane)) continue;
    const float fx = cx + p.x, fy = cy + p.y;
    // Far outside the frame (or not finite): no dot, and no conversion that could overflow.
    if (!(fx > -1.0f && fx < maxX + 1.0f && fy > -1.0f && fy < maxY + 1.0f)) continue;
    const long px = std::lrint(fx);
    if (px < 0 || px > rb.renderMaxX) continue;
    const long py = std::lrint(fy);
    if (py < 0 || py > rb.renderMaxY) continue;
    const size_t at =
        static_cast<size_t>(py) * static_cast<size_t>(rb.renderWidth) + static_cast<size_t>(px);
    if (p.z <= rb.depthBuffer[at]) {
      rb.frameBuffer[at] = kVertexColor;
      rb.depthBuffer[at] = p.z;
    }
  }
}
