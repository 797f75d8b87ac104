// The orbiting perspective camera. Angles in radians, pi is always kPi.
#pragma once

#include <cstdint>

#include "model/maths.h"  // kPi, kNearPlane

struct Camera {
  float cameraXY = 0.0f;          // A: turn of the world about z (read-out CXY)
  float cameraXZ = 0.0f;          // read-out CXZ only
  float cameraYZ = 4.0f;          // B: tilt (read-out CYZ)
  float cameraDistance = 250.0f;  // D: added to every camera-space depth
  float cameraZoom = 1.0f;        // F: frame pixels per unit at depth 1, never below 1.0
  int32_t viewCenterX = 0;        // frame x of the projection centre
  int32_t viewCenterY = 0;        // frame y of the projection centre
  float cosXY = 1.0f, sinXY = 0.0f, cosYZ = 1.0f, sinYZ = 0.0f;  // cached at each render
};

// The five camera values taken at the end of every ordinary pass.
struct CameraSnapshot {
  float cameraXY = 0.0f, cameraXZ = 0.0f, cameraYZ = 0.0f, cameraDistance = 0.0f, cameraZoom = 0.0f;
};

inline CameraSnapshot takeSnapshot(const Camera& c) {
  return {c.cameraXY, c.cameraXZ, c.cameraYZ, c.cameraDistance, c.cameraZoom};
}
