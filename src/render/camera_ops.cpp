// Camera transform, projection, unprojection, picking and the camera operations.
#include "render/camera_ops.h"

#include <algorithm>
#include <cmath>

#include "render/project_lanes.h"
#include "render/render_threads.h"

namespace {

constexpr float kTwoPi = 2.0f * kPi;

// One correction towards 0 .. 2 pi; an angle further out stays out until the next call.
float wrapOnce(float angle) {
  if (angle > kTwoPi) angle = angle - kTwoPi;
  if (angle < 0.0f) angle = angle + kTwoPi;
  return angle;
}

// Takes the four-vertex groups of the projection sweep and does nothing with them.
struct NoSink {
  void four(size_t, const auto&) {}
};

}  // namespace

void computeCameraTrig(Camera& c) {
  c.cosXY = std::cos(c.cameraXY);
  c.sinXY = std::sin(c.cameraXY);
  c.cosYZ = std::cos(c.cameraYZ);
  c.sinYZ = std::sin(c.cameraYZ);
}

Vec3 rotatePoint(const Camera& c, Vec3 p) {
  const float X = p.x * c.cosXY - p.y * c.sinXY;
  const float Y1 = p.x * c.sinXY + p.y * c.cosXY;
  const float depth = p.z * c.cosYZ - Y1 * c.sinYZ;
  const float Y = Y1 * c.cosYZ + p.z * c.sinYZ;
  return {X, Y, depth};
}

void projectVertices(Model& m, const Camera& c) {
  const int32_t n = m.vertexCount;
  const int parts = std::clamp(n / kMinVerticesPerPart, 1, renderThreadCount());
  runRenderParts(parts, [&](int part) {
    const auto [first, last] = vertexRun(n, part, parts);
    NoSink none;
    projectVerticesInto(m, c, none, first, last);
  });
}

void projectVertexRange(Model& m, const Camera& c, int32_t first, int32_t last) {
  const float cxy = c.cosXY, sxy = c.sinXY, cyz = c.cosYZ, syz = c.sinYZ;
  const float D = c.cameraDistance, F = c.cameraZoom;
  for (int32_t v = first; v < last; ++v) {
    const Vec3 p = m.vertexPos[v];
    const float X = p.x * cxy - p.y * sxy;
    const float Y1 = p.x * sxy + p.y * cxy;
    const float depth = p.z * cyz - Y1 * syz + D;
    const float Y = Y1 * cyz + p.z * syz;
    Vec3& out = m.vertexProj[v];
    if (depth >= kNearPlane) {
      out.x = X * F / depth;
      out.y = Y * F / depth;
    }
    out.z = depth;
  }
}

bool unprojectPixel(const Camera& c, float farDepth, int px, int py, float depthSample, Vec3& out) {
  const float A = c.cameraXY, B = c.cameraYZ;
  const float D = c.cameraDistance, F = c.cameraZoom;
  float Z = depthSample;
  const bool groundHit = depthSample == farDepth;
  if (groundHit) {
    // Background: the viewing ray meets the ground plane z = 0 at camera depth Z.
    const float t = static_cast<float>(py - c.viewCenterY) * std::sin(B) / std::cos(B) / F;
    Z = D / (t + 1.0f);
    // A parallel ray gives no finite depth, one that meets the plane behind the camera a
    // depth at or below zero: neither is a point on the ground the user can see.
    if (!std::isfinite(Z) || !(Z > 0.0f)) return false;
  }
  const float X = static_cast<float>(px - c.viewCenterX) / F * Z;
  const float Y = static_cast<float>(py - c.viewCenterY) / F * Z;
  const float Zc = Z - D;
  const float cb = std::cos(-B), sb = std::sin(-B);
  float z = cb * Zc - sb * Y;
  const float Y1 = cb * Y + sb * Zc;
  const float ca = std::cos(-A), sa = std::sin(-A);
  const float x = ca * X - sa * Y1;
  const float y = ca * Y1 + sa * X;
  if (groundHit) z = 0.0f;
  out = {x, y, z};
  return true;
}

int32_t pickNearestVertex(const Model& m, const Camera& c, float farDepth, int px, int py,
                          int32_t previous) {
  // Squared distances start at 1e7, so a vertex more than 3163 pixels away on one axis can
  // never win; such vertices are passed over before the conversion to an integer.
  constexpr float kFar = 4000.0f;
  float best = kPickStartDistance;
  int32_t result = previous;
  const float cx = static_cast<float>(c.viewCenterX), cy = static_cast<float>(c.viewCenterY);
  const float fpx = static_cast<float>(px), fpy = static_cast<float>(py);
  for (int32_t v = 0; v < m.vertexCount; ++v) {
    const Vec3 p = m.vertexProj[v];
    if (!(p.z >= kNearPlane && p.z <= farDepth)) continue;
    const float fx = p.x + cx - fpx, fy = p.y + cy - fpy;
    if (!(std::fabs(fx) < kFar && std::fabs(fy) < kFar)) continue;
    const long dx = std::lrint(fx), dy = std::lrint(fy);
    const float d = static_cast<float>(dx * dx + dy * dy);
    if (d < best) {
      best = d;
      result = v;
    }
  }
  return result;
}

bool updateCamera(Camera& c, const CameraSnapshot& snapshot) {
  c.cameraXY = wrapOnce(c.cameraXY);
  c.cameraYZ = wrapOnce(c.cameraYZ);
  if (c.cameraZoom < 1.0f) c.cameraZoom = 1.0f;
  return c.cameraXY != snapshot.cameraXY || c.cameraYZ != snapshot.cameraYZ ||
         c.cameraDistance != snapshot.cameraDistance || c.cameraZoom != snapshot.cameraZoom;
}

void setViewPreset(Camera& c, ViewPreset preset) {
  int ka = 0, kb = 3;  // multiples of pi/2
  switch (preset) {
    case ViewPreset::Front:
      ka = 0, kb = 3;
      break;
    case ViewPreset::Back:
      ka = 2, kb = 3;
      break;
    case ViewPreset::Top:
      ka = 0, kb = 2;
      break;
    case ViewPreset::Bottom:
      ka = 0, kb = 0;
      break;
    case ViewPreset::Left:
      ka = 1, kb = 3;
      break;
    case ViewPreset::Right:
      ka = 3, kb = 3;
      break;
  }
  c.cameraXY = static_cast<float>(ka) * kPi / 2.0f;
  c.cameraYZ = static_cast<float>(kb) * kPi / 2.0f;
}

void stepRotate(Camera& c, RotateDir dir, bool shiftHeld) {
  const float step = shiftHeld ? kPi / 8.0f : kPi / 90.0f;
  switch (dir) {
    case RotateDir::Up:
      c.cameraYZ = c.cameraYZ + step;
      break;
    case RotateDir::Down:
      c.cameraYZ = c.cameraYZ - step;
      break;
    case RotateDir::Right:
      c.cameraXY = c.cameraXY + step;
      break;
    case RotateDir::Left:
      c.cameraXY = c.cameraXY - step;
      break;
  }
}

void scaleDistance(Camera& c, float factor) {
  c.cameraDistance = c.cameraDistance * factor;
}

void scaleZoom(Camera& c, float factor) {
  c.cameraZoom = c.cameraZoom * factor;
}

void orbitDrag(Camera& c, const CameraSnapshot& snap, int mouseX, int mouseY, int anchorX,
               int anchorY, int renderWidth, int renderHeight) {
  c.cameraXY = snap.cameraXY +
               static_cast<float>(mouseX - anchorX) * kTwoPi / static_cast<float>(renderWidth);
  c.cameraYZ = snap.cameraYZ +
               static_cast<float>(anchorY - mouseY) * kTwoPi / static_cast<float>(renderHeight);
}

void dollyZoomDrag(Camera& c, const CameraSnapshot& snap, int mouseX, int mouseY, int anchorX,
                   int anchorY, int renderHeight) {
  c.cameraZoom = snap.cameraZoom + static_cast<float>(mouseX - anchorX);
  const int32_t rise = (mouseY - anchorY) * 100;  // formed in integers first
  c.cameraDistance =
      snap.cameraDistance + static_cast<float>(rise) / static_cast<float>(renderHeight);
}

void pan(Camera& c, int dx, int dy) {
  c.viewCenterX += dx;
  c.viewCenterY += dy;
}
