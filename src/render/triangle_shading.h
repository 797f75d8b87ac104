// Triangle colours: the flat shade of one triangle, and the pass that shades the pixels the
// filled triangles tagged with their index.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "model/model.h"
#include "model/simd.h"
#include "render/render_buffers.h"

// Round half to even, as std::lrint does in the default rounding mode, in one instruction
// (the library call is measurable at a million triangles). |v| stays below 2^31 here; beyond
// that, and for NaN, the answer is INT32_MIN in every build, as the x86 conversion gives it.
inline int32_t roundToInt(float v) {
#if KOVRIN_SSE2
  return _mm_cvtss_si32(_mm_set_ss(v));
#else
  if (!(v >= -2147483648.0f && v < 2147483648.0f)) return INT32_MIN;
  return static_cast<int32_t>(std::nearbyint(v));
#endif
}

[[gnu::always_inline]] inline uint32_t shadeTriangle(float nz, uint16_t word, bool selected,
                                                     bool modelColors) {
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
    for (int32_t& ch : rgb) ch = roundToInt(static_cast<float>(ch) * f);
  } else {
    const int32_t bump = roundToInt(192.0f * n - 96.0f);
    for (int32_t& ch : rgb) ch = std::min(ch + bump, 255);
  }
  return static_cast<uint32_t>(rgb[0] << 16 | rgb[1] << 8 | rgb[2]);
}

// The depth component of the normal turned into camera space: the same float steps as
// rotatePoint, without the two components the pass does not use.
// The four sines and cosines are copied once per pass: read through the camera they would be
// reloaded for every triangle, since each pixel store might, for all the compiler knows,
// change them.
struct NormalTurn {
  float sinXY, cosXY, sinYZ, cosYZ;
};
inline float rotatedDepth(const NormalTurn& c, Vec3 n) {
  const float y1 = n.x * c.sinXY + n.y * c.cosXY;
  return n.z * c.cosYZ - y1 * c.sinYZ;
}

// Filled triangles in display mode are shaded per pixel after the pass rather than per
// triangle before it: a pixel ends with the colour of the last triangle that wrote it either
// way, and a dense model has far fewer covered pixels than triangles (most of which are
// drawn over or hidden). While the pass runs such a pixel holds the triangle's index with
// the top bit set; every colour and every marking index has it clear.
constexpr uint32_t kShadeLater = 0x80000000u;

// Shades the tagged pixels of rows `firstRow` to `lastRow` (those the pass could draw on).
void shadeDrawnPixels(RenderBuffers& rb, const Model& m, const NormalTurn& turn, bool modelColors,
                      int32_t firstRow, int32_t lastRow);
