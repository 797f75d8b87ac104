// The set-up stage of the triangle pass: the per-vertex table the fill reads (rounded frame
// position, 1/z, corner order), written once per render instead of once for every triangle
// that uses a vertex. Used by the triangle pass only.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "model/model.h"
#include "model/simd.h"
#include "render/camera.h"
#include "render/project_lanes.h"
#include "render/render_buffers.h"
#include "render/triangle_fill.h"
#include "render/triangle_shading.h"

// Corners further than this many pixels from the frame origin (or not finite) cannot be
// converted to integers safely; their triangle is not drawn.
constexpr float kMaxCoordinate = 1073741824.0f;  // 2^30

// The table's two marks. A vertex no filled triangle may use (nearer than the near plane, or
// too far out to convert) has x = kUnusable. The sign bit of 1/z, never set by a real 1/z as
// every usable depth is at least the near plane, marks a vertex that is unusable or outside
// the clip rectangle the table was written for: one test of three sign bits then finds the
// triangles the fill need not clip.
constexpr int32_t kUnusable = INT32_MIN;
constexpr uint32_t kOutsideClipBit = 0x80000000u;
static_assert(sizeof(ScreenVertex) == 16, "one vertex of the table is one 16-byte store");

// Writes the vertex table from projected vertices. Four vertices at a time with the same
// float steps per lane as one at a time; the packed conversion rounds half to even like the
// single one. Nearer than the near plane drops every triangle of the vertex; a corner too far
// out to be converted to an integer drops its filled triangles.
class ScreenTableWriter {
 public:
  ScreenTableWriter(RenderBuffers& rb, const Model& m, const Camera& c)
      : cx_(static_cast<float>(c.viewCenterX)),
        cy_(static_cast<float>(c.viewCenterY)),
        minX_(rb.clipMinX),
        minY_(rb.clipMinY),
        extentX_(static_cast<uint32_t>(rb.clipMaxX) - static_cast<uint32_t>(rb.clipMinX)),
        extentY_(static_cast<uint32_t>(rb.clipMaxY) - static_cast<uint32_t>(rb.clipMinY))
#if KOVRIN_SSE2
        ,
        vcx_(_mm_set1_ps(cx_)),
        vcy_(_mm_set1_ps(cy_)),
        clipMinX_(_mm_set1_epi32(minX_)),
        clipMinY_(_mm_set1_epi32(minY_)),
        flippedExtentX_(_mm_set1_epi32(static_cast<int32_t>(extentX_ ^ 0x80000000u))),
        flippedExtentY_(_mm_set1_epi32(static_cast<int32_t>(extentY_ ^ 0x80000000u)))
#endif
  {
    const size_t n = static_cast<size_t>(m.vertexCount);
    // The editor sizes the table with the model at start-up; only callers that did not
    // (tests, benchmarks) grow it here.
    if (rb.screenVertices.size() < n) rb.screenVertices = FixedArray<ScreenVertex>(n);
    out_ = rb.screenVertices.data();
  }

#if KOVRIN_SSE2
  // Vertices v .. v + 3: frame x and y relative to the view centre, and depth.
  void four(size_t v, const FourPoints& p) {
    const __m128 one = _mm_set1_ps(1.0f), nearPlane = _mm_set1_ps(kNearPlane);
    const __m128 limit = _mm_set1_ps(kMaxCoordinate);
    const __m128 absMask = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
    const __m128 unusableX = _mm_castsi128_ps(_mm_set1_epi32(kUnusable));
    const __m128 x = _mm_add_ps(vcx_, p.x), y = _mm_add_ps(vcy_, p.y);
    const __m128 usable = _mm_and_ps(_mm_cmpge_ps(p.z, nearPlane),
                                     _mm_and_ps(_mm_cmplt_ps(_mm_and_ps(x, absMask), limit),
                                                _mm_cmplt_ps(_mm_and_ps(y, absMask), limit)));
    const __m128i ix = _mm_cvtps_epi32(x), iy = _mm_cvtps_epi32(y);
    __m128 rx = _mm_castsi128_ps(ix);
    __m128 ry = _mm_castsi128_ps(iy);
    // Inside the clip rectangle: the offsets from its top-left corner, compared as unsigned
    // numbers (flipping the sign bits makes the signed compare do that), within its extent.
    const __m128i signBits = _mm_set1_epi32(INT32_MIN);
    const __m128 outside = _mm_castsi128_ps(_mm_or_si128(
        _mm_cmpgt_epi32(_mm_xor_si128(_mm_sub_epi32(ix, clipMinX_), signBits), flippedExtentX_),
        _mm_cmpgt_epi32(_mm_xor_si128(_mm_sub_epi32(iy, clipMinY_), signBits), flippedExtentY_)));
    __m128 riz = _mm_div_ps(one, p.z);
    __m128 rfy = y;
    top_ = _mm_min_ps(top_, _mm_or_ps(_mm_and_ps(usable, y), _mm_andnot_ps(usable, farAbove())));
    bottom_ =
        _mm_max_ps(bottom_, _mm_or_ps(_mm_and_ps(usable, y), _mm_andnot_ps(usable, farBelow())));
    rx = _mm_or_ps(_mm_and_ps(usable, rx), _mm_andnot_ps(usable, unusableX));
    ry = _mm_and_ps(usable, ry);
    const __m128 outsideMark =
        _mm_castsi128_ps(_mm_set1_epi32(static_cast<int32_t>(kOutsideClipBit)));
    riz = _mm_or_ps(_mm_and_ps(usable, riz),
                    _mm_andnot_ps(_mm_andnot_ps(outside, usable), outsideMark));
    rfy = _mm_and_ps(usable, rfy);
    _MM_TRANSPOSE4_PS(rx, ry, riz, rfy);  // now one vertex per register
    _mm_storeu_ps(reinterpret_cast<float*>(out_ + v), rx);
    _mm_storeu_ps(reinterpret_cast<float*>(out_ + v + 1), ry);
    _mm_storeu_ps(reinterpret_cast<float*>(out_ + v + 2), riz);
    _mm_storeu_ps(reinterpret_cast<float*>(out_ + v + 3), rfy);
  }
#endif

  void one(size_t v, Vec3 p) {
    const float x = cx_ + p.x, y = cy_ + p.y;
    const bool usable =
        p.z >= kNearPlane && std::fabs(x) < kMaxCoordinate && std::fabs(y) < kMaxCoordinate;
    if (usable) {
      const int32_t rx = roundToInt(x), ry = roundToInt(y);
      const bool inside = static_cast<uint32_t>(rx) - static_cast<uint32_t>(minX_) <= extentX_ &&
                          static_cast<uint32_t>(ry) - static_cast<uint32_t>(minY_) <= extentY_;
      const float iz = 1.0f / p.z;
      out_[v] = {rx, ry, inside ? iz : -iz, y};
      topOne_ = std::min(topOne_, y);
      bottomOne_ = std::max(bottomOne_, y);
    } else {
      out_[v] = {kUnusable, 0, -0.0f, 0.0f};
    }
  }

  // The rows the usable vertices lie on (first > last: none).
  std::pair<int32_t, int32_t> rows() const {
    float top = topOne_, bottom = bottomOne_;
#if KOVRIN_SSE2
    __m128 t = _mm_min_ps(top_, _mm_shuffle_ps(top_, top_, _MM_SHUFFLE(1, 0, 3, 2)));
    t = _mm_min_ps(t, _mm_shuffle_ps(t, t, _MM_SHUFFLE(2, 3, 0, 1)));
    __m128 b = _mm_max_ps(bottom_, _mm_shuffle_ps(bottom_, bottom_, _MM_SHUFFLE(1, 0, 3, 2)));
    b = _mm_max_ps(b, _mm_shuffle_ps(b, b, _MM_SHUFFLE(2, 3, 0, 1)));
    top = std::min(top, _mm_cvtss_f32(t));
    bottom = std::max(bottom, _mm_cvtss_f32(b));
#endif
    // Rounding keeps the order, so every usable vertex's row lies between these two.
    return {roundToInt(top), roundToInt(bottom)};
  }

 private:
#if KOVRIN_SSE2
  static __m128 farAbove() {
    return _mm_set1_ps(kMaxCoordinate);
  }
  static __m128 farBelow() {
    return _mm_set1_ps(-kMaxCoordinate);
  }
#endif

  float cx_, cy_;
  // The clip rectangle's top-left corner and its width and height less one.
  int32_t minX_, minY_;
  uint32_t extentX_, extentY_;
  ScreenVertex* out_ = nullptr;
  // The highest and lowest usable frame y of the vertices written one at a time and, lane by
  // lane, of those written four at a time.
  float topOne_ = kMaxCoordinate, bottomOne_ = -kMaxCoordinate;
#if KOVRIN_SSE2
  __m128 vcx_, vcy_;
  __m128i clipMinX_, clipMinY_, flippedExtentX_, flippedExtentY_;  // the clip, lane by lane
  __m128 top_ = farAbove(), bottom_ = farBelow();
#endif
};

// Fills the vertex table from vertexProj; returns the rows the usable vertices lie on.
inline std::pair<int32_t, int32_t> prepareScreenVertices(RenderBuffers& rb, const Model& m,
                                                         const Camera& c) {
  ScreenTableWriter table(rb, m, c);
  const size_t n = static_cast<size_t>(m.vertexCount);
  const Vec3* proj = m.vertexProj.data();
  size_t v = 0;
#if KOVRIN_SSE2
  for (; v + 4 <= n; v += 4) table.four(v, loadFourPoints(proj + v));
#endif
  for (; v < n; ++v) table.one(v, proj[v]);
  return table.rows();
}

// True when all three corners are usable and inside the clip rectangle.
inline bool insideClip(const ScreenVertex* a, const ScreenVertex* b, const ScreenVertex* c) {
  uint32_t bits[3];
  std::memcpy(&bits[0], &a->iz, 4);
  std::memcpy(&bits[1], &b->iz, 4);
  std::memcpy(&bits[2], &c->iz, 4);
  return ((bits[0] | bits[1] | bits[2]) & kOutsideClipBit) == 0;
}

// A triangle's corners with the top one (smallest float y) in P3; P1 and P2 stay in
// whatever order. Comparing the rounded rows instead could order equal rows differently.
struct SortedCorners {
  PixelCorner p1, p2, p3;
};
inline SortedCorners topCornerLast(const ScreenVertex* q1, const ScreenVertex* q2,
                                   const ScreenVertex* q3) {
  if (q1->fy < q2->fy) std::swap(q1, q2);
  if (q2->fy < q3->fy) std::swap(q2, q3);
  return {{q1->x, q1->y, q1->iz}, {q2->x, q2->y, q2->iz}, {q3->x, q3->y, q3->iz}};
}
