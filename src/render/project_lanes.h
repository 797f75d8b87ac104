// Four vertices at a time through the camera: the same float operations in the same order on
// each lane as the one-vertex formulas, so every lane gets exactly their bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

#include "model/model.h"
#include "model/simd.h"
#include "render/camera.h"
#include "render/camera_ops.h"

#if KOVRIN_SSE2

// x, y and z of four consecutive points (48 bytes), one coordinate per register.
struct FourPoints {
  __m128 x, y, z;
};

inline FourPoints loadFourPoints(const Vec3* p) {
  const float* f = &p->x;
  // a = x0 y0 z0 x1, b = y1 z1 x2 y2, d = z2 x3 y3 z3
  const __m128 a = _mm_loadu_ps(f), b = _mm_loadu_ps(f + 4), d = _mm_loadu_ps(f + 8);
  const __m128 b2d1 = _mm_shuffle_ps(b, d, _MM_SHUFFLE(1, 0, 3, 2));  // x2 y2 z2 x3
  const __m128 a2b1 = _mm_shuffle_ps(a, b, _MM_SHUFFLE(1, 0, 3, 2));  // z0 x1 y1 z1
  const __m128 y01 = _mm_shuffle_ps(a, b, _MM_SHUFFLE(0, 0, 1, 1));   // y0 y0 y1 y1
  const __m128 y23 = _mm_shuffle_ps(b, d, _MM_SHUFFLE(2, 2, 3, 3));   // y2 y2 y3 y3
  return {_mm_shuffle_ps(a, b2d1, _MM_SHUFFLE(3, 0, 3, 0)),
          _mm_shuffle_ps(y01, y23, _MM_SHUFFLE(2, 0, 2, 0)),
          _mm_shuffle_ps(a2b1, d, _MM_SHUFFLE(3, 0, 3, 0))};
}

inline void storeFourPoints(Vec3* p, const FourPoints& v) {
  float* f = &p->x;
  const __m128 xy01 = _mm_unpacklo_ps(v.x, v.y);                              // x0 y0 x1 y1
  const __m128 xy23 = _mm_unpackhi_ps(v.x, v.y);                              // x2 y2 x3 y3
  const __m128 z0x1 = _mm_shuffle_ps(v.z, v.x, _MM_SHUFFLE(1, 1, 0, 0));      // z0 z0 x1 x1
  const __m128 y1z1 = _mm_shuffle_ps(v.y, v.z, _MM_SHUFFLE(1, 1, 1, 1));      // y1 y1 z1 z1
  const __m128 z2x3 = _mm_shuffle_ps(v.z, v.x, _MM_SHUFFLE(3, 3, 2, 2));      // z2 z2 x3 x3
  const __m128 y3z3 = _mm_shuffle_ps(v.y, v.z, _MM_SHUFFLE(3, 3, 3, 3));      // y3 y3 z3 z3
  _mm_storeu_ps(f, _mm_shuffle_ps(xy01, z0x1, _MM_SHUFFLE(2, 0, 1, 0)));      // x0 y0 z0 x1
  _mm_storeu_ps(f + 4, _mm_shuffle_ps(y1z1, xy23, _MM_SHUFFLE(1, 0, 2, 0)));  // y1 z1 x2 y2
  _mm_storeu_ps(f + 8, _mm_shuffle_ps(z2x3, y3z3, _MM_SHUFFLE(2, 0, 2, 0)));  // z2 x3 y3 z3
}

// The camera's numbers, one copy per lane.
struct CameraLanes {
  __m128 cosXY, sinXY, cosYZ, sinYZ, distance, zoom;
};

inline CameraLanes cameraLanes(const Camera& c) {
  return {_mm_set1_ps(c.cosXY), _mm_set1_ps(c.sinXY),          _mm_set1_ps(c.cosYZ),
          _mm_set1_ps(c.sinYZ), _mm_set1_ps(c.cameraDistance), _mm_set1_ps(c.cameraZoom)};
}

// Frame x and y relative to the view centre, and camera depth, of four world points. The x
// and y of a lane nearer than the near plane are computed too; callers do not keep them.
inline FourPoints projectFourPoints(const CameraLanes& k, const FourPoints& p) {
  const __m128 X = _mm_sub_ps(_mm_mul_ps(p.x, k.cosXY), _mm_mul_ps(p.y, k.sinXY));
  const __m128 Y1 = _mm_add_ps(_mm_mul_ps(p.x, k.sinXY), _mm_mul_ps(p.y, k.cosXY));
  const __m128 depth =
      _mm_add_ps(_mm_sub_ps(_mm_mul_ps(p.z, k.cosYZ), _mm_mul_ps(Y1, k.sinYZ)), k.distance);
  const __m128 Y = _mm_add_ps(_mm_mul_ps(Y1, k.cosYZ), _mm_mul_ps(p.z, k.sinYZ));
  return {_mm_div_ps(_mm_mul_ps(X, k.zoom), depth), _mm_div_ps(_mm_mul_ps(Y, k.zoom), depth),
          depth};
}

// Stores four projections; a lane nearer than the near plane keeps its stale x and y.
inline void storeFourProjections(Vec3* proj, const FourPoints& v) {
  const int keep = _mm_movemask_ps(_mm_cmpge_ps(v.z, _mm_set1_ps(kNearPlane)));
  if (keep == 15) {
    storeFourPoints(proj, v);
    return;
  }
  alignas(16) float x[4], y[4], z[4];
  _mm_store_ps(x, v.x);
  _mm_store_ps(y, v.y);
  _mm_store_ps(z, v.z);
  for (int k = 0; k < 4; ++k) {
    if ((keep >> k) & 1) proj[k].x = x[k], proj[k].y = y[k];
    proj[k].z = z[k];
  }
}
#endif

// The projection sweep: fills vertexProj for vertices first .. last - 1 (`first` a multiple of
// four), four at a time where the build has lanes (each four also handed to
// `sink.four(v, points)`), the rest one at a time. Returns the first vertex projected one at a
// time. Inlined into its callers so that a sink's running state stays in registers.
template <class Sink>
[[gnu::always_inline]] inline int32_t projectVerticesInto(Model& m, const Camera& c, Sink& sink,
                                                          int32_t first, int32_t last) {
  int32_t v = first;
#if KOVRIN_SSE2
  // The divisions are the cost here, and one packed division does four.
  const Vec3* pos = m.vertexPos.data();
  Vec3* proj = m.vertexProj.data();
  const CameraLanes lanes = cameraLanes(c);
  for (; v + 4 <= last; v += 4) {
    const FourPoints p = projectFourPoints(lanes, loadFourPoints(pos + v));
    storeFourProjections(proj + v, p);
    sink.four(static_cast<size_t>(v), p);
  }
#else
  (void)sink;
#endif
  projectVertexRange(m, c, v, last);
  return v;
}

// Vertices per thread below which splitting the projection does not pay.
constexpr int32_t kMinVerticesPerPart = 16384;

// Run `part` of `parts` over vertices 0 .. n - 1: the runs meet at multiples of four, so they
// take the same four-vertex groups as one sweep over all of them and give the same bits.
inline std::pair<int32_t, int32_t> vertexRun(int32_t n, int part, int parts) {
  const auto at = [&](int k) {
    return k == parts ? n : static_cast<int32_t>(int64_t{n / 4} * k / parts * 4);
  };
  return {at(part), at(part + 1)};
}
