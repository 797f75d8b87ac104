// The two value tables behind every number shown or typed in a menu.
// Codes 0..49 index displayValues (int32), codes 50..83 index floatFields (float, code - 50).
#pragma once

#include <array>
#include <cstdint>

enum FieldCode : int {
  kFieldVerteces = 0,
  kFieldTriangles = 1,
  kFieldLines = 2,
  kFieldCXY = 4,
  kFieldCXZ = 5,
  kFieldCYZ = 6,
  kFieldDistance = 7,
  kFieldScaling = 8,
  kFieldHOffset = 9,
  kFieldVOffset = 10,
  kFieldSelectionTotal = 11,
  kFieldSides = 12,
  kFieldScreenX = 13,
  kFieldScreenY = 14,
  kFieldChangeRed = 15,
  kFieldChangeGreen = 16,
  kFieldChangeBlue = 17,
  kFieldDefaultRed = 18,
  kFieldDefaultGreen = 19,
  kFieldDefaultBlue = 20,
  kFieldFirstFloat = 50,
  kFieldX1 = 50,  // X1, Y1, Z1, X2 .. Z4 follow in order up to 61
  kFieldSize = 62,
  kFieldXYAngle = 63,
  kFieldXZAngle = 64,
  kFieldYZAngle = 65,
  kFieldDrawDepth = 66,
  kFieldXScale = 67,
  kFieldYScale = 68,
  kFieldZScale = 69,
  kFieldScratchPoints = 70,  // 70..81: scratch points 5..8 of the shape builders
  kFieldRadius = 82,
  kFieldHeight = 83,
};

// Indices into floatFields.
enum FloatIndex : int {
  kX1 = 0,
  kY1 = 1,
  kZ1 = 2,
  kX2 = 3,
  kY2 = 4,
  kZ2 = 5,
  kX3 = 6,
  kY3 = 7,
  kZ3 = 8,
  kX4 = 9,
  kY4 = 10,
  kZ4 = 11,
  kSize = 12,
  kXYAngle = 13,
  kXZAngle = 14,
  kYZAngle = 15,
  kDrawDepth = 16,
  kXScale = 17,
  kYScale = 18,
  kZScale = 19,
  kScratchPoint5 = 20,  // 20..31
  kRadius = 32,
  kHeight = 33,
};

struct Fields {
  std::array<int32_t, 50> displayValues{};
  std::array<float, 34> floatFields{};
};

// "drawdepth" at start: the depth beyond which nothing is drawn.
constexpr float kDefaultDrawDepth = 1000000.0f;

// Start values: scales 1.0, Radius and Height 10.0, drawdepth kDefaultDrawDepth, sIdes 18,
// rest 0.
void setFieldDefaults(Fields& f);

inline float farDepth(const Fields& f) {
  return f.floatFields[kDrawDepth];
}
