// The values the editing operations take, read from the field table of the menus.
#pragma once

#include "model/create.h"
#include "model/cutting.h"
#include "model/fields.h"
#include "render/camera.h"

// Point k (1..4): Xk, Yk, Zk.
inline Vec3 fieldPoint(const Fields& f, int k) {
  const auto& ff = f.floatFields;
  const int i = 3 * (k - 1);
  return Vec3{ff[i], ff[i + 1], ff[i + 2]};
}

// The four points, "siZe", "Radius", "Height" and "sIdes" of a create.
inline ShapeSizes shapeSizesOf(const Fields& f) {
  ShapeSizes s;
  for (int k = 1; k <= 4; ++k) s.points[k - 1] = fieldPoint(f, k);
  s.size = f.floatFields[kSize];
  s.radius = f.floatFields[kRadius];
  s.height = f.floatFields[kHeight];
  s.sides = f.displayValues[kFieldSides];
  return s;
}

// The guillotine's plane coordinate along `axis`: X1, Y1 or Z1.
inline float slicePlaneOf(const Fields& f, int axis) {
  return f.floatFields[kX1 + axis];
}

// The drill's circle: screenX, screenY (frame pixels) relative to the view centre, "Radius",
// and "drawdepth".
inline DrillCircle drillCircleOf(const Fields& f, const Camera& cam) {
  const int64_t dx = int64_t{f.displayValues[kFieldScreenX]} - cam.viewCenterX;
  const int64_t dy = int64_t{f.displayValues[kFieldScreenY]} - cam.viewCenterY;
  return {static_cast<float>(dx), static_cast<float>(dy), f.floatFields[kRadius], farDepth(f)};
}
