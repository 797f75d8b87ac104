// Constants the geometry shares with the camera.
#pragma once

constexpr float kPi = 3.141593f;  // the single-precision value of 3.141593, used everywhere
// Camera-space depth below which a point is behind the viewer (no projection of its own).
constexpr float kNearPlane = 1.0f;
