#include "render/fit_view.h"

#include <algorithm>
#include <cmath>

#include "render/camera_ops.h"

namespace {

constexpr double kFill = 0.9;         // share of the frame's width or height the box may take
constexpr double kMaxCentre = 1.0e9;  // a projection centre stays this many pixels from 0

int32_t clampedPixel(double v) {
  return static_cast<int32_t>(std::clamp(std::nearbyint(v), -kMaxCentre, kMaxCentre));
}

}  // namespace

BoundingBox modelBounds(const Model& m) {
  BoundingBox b;
  if (m.vertexCount <= 0) return b;
  b.min = b.max = m.vertexPos[0];
  for (int32_t i = 1; i < m.vertexCount; ++i) {
    const Vec3 p = m.vertexPos[i];
    b.min = {std::min(b.min.x, p.x), std::min(b.min.y, p.y), std::min(b.min.z, p.z)};
    b.max = {std::max(b.max.x, p.x), std::max(b.max.y, p.y), std::max(b.max.z, p.z)};
  }
  b.empty = false;
  return b;
}

float fitView(Camera& c, const Model& m, int width, int height) {
  const BoundingBox box = modelBounds(m);
  if (box.empty || width <= 0 || height <= 0) return 0.0f;
  Camera turn = c;
  computeCameraTrig(turn);
  // The box's corners and centre in camera space (without the distance), in double.
  Vec3 corner[8];
  for (int k = 0; k < 8; ++k)
    corner[k] = rotatePoint(turn, {(k & 1) ? box.max.x : box.min.x, (k & 2) ? box.max.y : box.min.y,
                                   (k & 4) ? box.max.z : box.min.z});
  double lo[3] = {corner[0].x, corner[0].y, corner[0].z}, hi[3] = {lo[0], lo[1], lo[2]};
  for (const Vec3& p : corner) {
    const double v[3] = {p.x, p.y, p.z};
    for (int a = 0; a < 3; ++a) lo[a] = std::min(lo[a], v[a]), hi[a] = std::max(hi[a], v[a]);
  }
  const double dx = box.max.x - box.min.x, dy = box.max.y - box.min.y, dz = box.max.z - box.min.z;
  const double radius = std::max(0.5 * std::sqrt(dx * dx + dy * dy + dz * dz), 1.0e-3);
  // Distance of the box centre from the camera: far enough for a mild perspective, and for
  // the model to lie off the axis through the origin by no more than a small angle.
  const double cx = 0.5 * (lo[0] + hi[0]), cy = 0.5 * (lo[1] + hi[1]), cz = 0.5 * (lo[2] + hi[2]);
  const double offAxis = std::sqrt(cx * cx + cy * cy);
  const double centreDepth = std::max({3.0 * radius, 4.0 * offAxis, radius + 2.0});
  const double distance = centreDepth - cz;
  // Zoom and centre from the corners' projections at zoom 1.
  double ulo = 1e300, uhi = -1e300, vlo = 1e300, vhi = -1e300;
  for (const Vec3& p : corner) {
    const double depth = p.z + distance;
    const double u = p.x / depth, v = p.y / depth;
    ulo = std::min(ulo, u), uhi = std::max(uhi, u), vlo = std::min(vlo, v), vhi = std::max(vhi, v);
  }
  const double zoomX = uhi > ulo ? kFill * width / (uhi - ulo) : 1e30;
  const double zoomY = vhi > vlo ? kFill * height / (vhi - vlo) : 1e30;
  double zoom = std::min(zoomX, zoomY);
  if (!(zoom < 1e30)) zoom = 0.5 * width / (radius / centreDepth);
  zoom = std::clamp(zoom, 1.0, 1.0e30);
  c.cameraDistance = static_cast<float>(distance);
  c.cameraZoom = static_cast<float>(zoom);
  c.viewCenterX = clampedPixel(0.5 * width - zoom * 0.5 * (ulo + uhi));
  c.viewCenterY = clampedPixel(0.5 * height - zoom * 0.5 * (vlo + vhi));
  return static_cast<float>(hi[2] + distance);
}

void fitViewAndDepth(Camera& c, Fields& f, const Model& m, int width, int height) {
  const float farthest = fitView(c, m, width, height);
  if (farthest >= farDepth(f)) f.floatFields[kDrawDepth] = 2.0f * farthest;
}
