// The triangle pass: flat-shaded scan-line fill with a 1/z depth test, culling, wireframe,
// and the marking mode the selection rectangle uses as its hit test.
#include <emmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "core/editor.h"
#include "render/camera_ops.h"
#include "render/overlays.h"
#include "render/project_lanes.h"
#include "render/render_passes.h"
#include "render/repeated_add.h"
#include "render/triangle_shading.h"

namespace {

// Corners further than this many pixels from the frame origin (or not finite) cannot be
// converted to integers safely; their triangle is not drawn.
constexpr float kMaxCoordinate = 1073741824.0f;  // 2^30

struct Corner {
  float x, y, z;  // frame position with the view centre added, camera depth
};

// One edge of the scan conversion: integer x with an error-term stepper, 1/z by float adds.
struct Edge {
  int64_t x = 0;
  float iz = 0.0f, izStep = 0.0f;
  int64_t dx = 0, dy = 0, err = 0, s = 1;

  // Points the edge from its current corner (x0, iz0) towards (x1, y1, iz1) seen from row y.
  // With dy <= 0 the other values are meaningless but never used: such an edge is reset
  // and turned at the very row it was aimed from, or the triangle ends on that row, before
  // any advance. Setting them anyway keeps this free of a hard-to-predict branch.
  void aim(int64_t x0, float iz0, int64_t x1, int64_t y1, float iz1, int64_t y) {
    dy = y1 - y;
    izStep = (iz1 - iz0) / static_cast<float>(dy > 0 ? dy : 1);
    dx = x1 >= x0 ? x1 - x0 : x0 - x1;
    s = x1 >= x0 ? 1 : -1;
    err = 0;
  }
  // One row down: err += dx, then x steps while err > dy (done here in one division).
  void advance() {
    iz = iz + izStep;
    err += dx;
    if (dy > 0 && err > dy) {
      // Steep and moderate edges step once or twice; only flat ones need the division.
      err -= dy;
      x += s;
      if (err > dy) {
        const int64_t steps = (err - 1) / dy;
        err -= steps * dy;
        x += s * steps;
      }
    }
  }
  // `rows` rows down at once, with exactly the x, error term and 1/z of as many advance()s:
  // after them the error term lies in (0, dy] (or is 0), so the steps taken are
  // floor((err + rows * dx - 1) / dy) in all.
  void advanceRows(int64_t rows) {
    iz = repeatedAdd(iz, izStep, rows);
    const int64_t e = err + rows * dx;
    if (dy > 0 && e > 0) {
      const int64_t steps = (e - 1) / dy;
      err = e - steps * dy;
      x += s * steps;
    } else {
      err = e;
    }
  }
};

// What the fill does with a row: draw it, or (selection box without the visible-parts
// option) test the span ends against the box and mark the triangle.
struct FillMode {
  bool markBySpanEnds = false;
  bool unselect = false;
  uint8_t* flags = nullptr;  // the triangle's flag byte when marking
};

// One span of row y from x = xs to xe inclusive, 1/z from iz by step per pixel.
void drawSpan(RenderBuffers& rb, int64_t y, int64_t xs, int64_t xe, float iz, float step) {
  if (xe < rb.clipMinX || xs > rb.clipMaxX) return;
  if (xs < rb.clipMinX) {
    // 1/z still advances over the clipped pixels, one add each, as it would when drawn.
    iz = repeatedAdd(iz, step, rb.clipMinX - xs);
    xs = rb.clipMinX;
  }
  const int64_t last = std::min<int64_t>(xe, rb.clipMaxX);
  const size_t row = static_cast<size_t>(y) * static_cast<size_t>(rb.renderWidth);
  uint32_t* frame = rb.frameBuffer.data() + row;
  float* depth = rb.depthBuffer.data() + row;
  const uint32_t color = rb.drawColor;
  for (int64_t x = xs; x <= last; ++x) {
    // A plain branch, not selects: with selects every store waits for the load before it,
    // and the next triangle, which mostly touches the same pixels, waits for those stores.
    // A predicted branch lets the stores go ahead; measured faster on the torus.
    const float z = 1.0f / iz;
    if (z < depth[x]) {
      frame[x] = color;
      depth[x] = z;
    }
    iz = iz + step;
  }
}

// A corner as the fill uses it: rounded frame position and inverse depth.
struct PixelCorner {
  int64_t x, y;
  float iz;
};

// One end of a row's span: the x an edge has reached and its 1/z there.
struct SpanEnd {
  int64_t x;
  float iz;
};

// One row of a triangle that lies wholly inside the clip rectangle: the span between the
// two edge ends, both included, exactly as the general fill draws it but without clipping.
[[gnu::always_inline]] inline void drawRowInside(uint32_t* frame, float* depth, uint32_t color,
                                                 SpanEnd a, SpanEnd b) {
  const bool aRight = a.x > b.x;
  const int64_t left = aRight ? b.x : a.x, right = aRight ? a.x : b.x;
  const float izLeft = aRight ? b.iz : a.iz, izRight = aRight ? a.iz : b.iz;
  // The first pixel; most rows of a dense model have no other, and need no step.
  const float z = 1.0f / izLeft;
  if (z < depth[left]) {
    frame[left] = color;
    depth[left] = z;
  }
  if (right == left) return;
  const float step = (izRight - izLeft) / static_cast<float>(right - left);
  float iz = izLeft;
  for (int64_t x = left + 1; x <= right; ++x) {
    iz = iz + step;
    const float zx = 1.0f / iz;
    if (zx < depth[x]) {
      frame[x] = color;
      depth[x] = zx;
    }
  }
}

// A row of one pixel at x = e.x, as drawRowInside draws it with both ends there.
[[gnu::always_inline]] inline void drawPixelInside(uint32_t* frame, float* depth, uint32_t color,
                                                   SpanEnd e) {
  const float z = 1.0f / e.iz;
  if (z < depth[e.x]) {
    frame[e.x] = color;
    depth[e.x] = z;
  }
}

// `inside`: the triangle lies wholly inside the clip rectangle and its rows are drawn (not
// tested for marking), so no row or span needs clipping.
template <bool inside>
void fillTriangle(RenderBuffers& rb, PixelCorner p1, PixelCorner p2, PixelCorner p3,
                  const FillMode& mode) {
  const int64_t x1 = p1.x, y1 = p1.y, x2 = p2.x, y2 = p2.y, x3 = p3.x, y3 = p3.y;
  const float iz1 = p1.iz, iz2 = p2.iz, iz3 = p3.iz;

  // Edge A runs P3 -> P2 -> P1, edge B runs P3 -> P1 -> P2.
  Edge a, b;
  a.x = b.x = x3;
  a.iz = b.iz = iz3;
  a.aim(x3, iz3, x2, y2, iz2, y3);
  b.aim(x3, iz3, x1, y1, iz1, y3);
  int turns = 0;
  const size_t frameWidth = static_cast<size_t>(rb.renderWidth);
  const size_t top = inside ? static_cast<size_t>(y3) * frameWidth : 0;
  uint32_t* frame = rb.frameBuffer.data() + top;
  float* depth = rb.depthBuffer.data() + top;
  for (int64_t y = y3;; ++y) {
    if (y == y2) {
      a.x = x2;
      a.iz = iz2;
      if (++turns == 1) a.aim(x2, iz2, x1, y1, iz1, y);
    }
    if (y == y1) {
      b.x = x1;
      b.iz = iz1;
      if (++turns == 1) b.aim(x1, iz1, x2, y2, iz2, y);
    }
    if (inside) {
      drawRowInside(frame, depth, rb.drawColor, SpanEnd{a.x, a.iz}, SpanEnd{b.x, b.iz});
      frame += frameWidth;
      depth += frameWidth;
    } else if (y > rb.clipMaxY) {
      return;  // below the clip rectangle: done
    } else if (y < rb.clipMinY) {
      // Rows above it only advance the edges: all of them up to the next turn at once.
      if (turns > 1) return;
      int64_t next = rb.clipMinY;
      if (y2 > y) next = std::min(next, y2);
      if (y1 > y) next = std::min(next, y1);
      a.advanceRows(next - y);
      b.advanceRows(next - y);
      y = next - 1;
      continue;
    } else {
      if (mode.markBySpanEnds && ((a.x > b.x && a.x >= rb.clipMinX && a.x <= rb.clipMaxX) ||
                                  (b.x >= rb.clipMinX && b.x <= rb.clipMaxX))) {
        if (mode.unselect)
          *mode.flags = static_cast<uint8_t>(*mode.flags & ~kSelectedBit);
        else
          *mode.flags = static_cast<uint8_t>(*mode.flags | kSelectedBit);
        return;
      }
      // From the left end to the right, 1/z from the left end's; one pixel steps by 0.
      const bool aRight = a.x > b.x;
      const int64_t left = aRight ? b.x : a.x, right = aRight ? a.x : b.x;
      const float izLeft = aRight ? b.iz : a.iz, izRight = aRight ? a.iz : b.iz;
      const int64_t width = right - left;
      const float step = (izRight - izLeft) / static_cast<float>(width > 0 ? width : 1);
      drawSpan(rb, y, left, right, izLeft, width > 0 ? step : 0.0f);
    }
    if (turns > 1) return;  // the lower of the two other corners was this row
    a.advance();
    b.advance();
  }
}

inline int64_t sign(int64_t v) {
  return (v > 0) - (v < 0);
}

// A triangle whose rounded corners lie on one row or on two neighbouring rows, wholly inside
// the clip rectangle: the rows the general fill would draw, computed directly. On the second
// row an edge that started at a top-row corner has advanced once over a rise of one row, so
// it stands one pixel short of its far corner (ceil(dx) - 1 pixels from its start); every
// other edge end is reset to its corner there. The 1/z of the advanced edge is the corner's
// plus the one-row step (iz far - iz near) / 1, the same float operations as the stepper.
// `frame` and `depth` are the buffers' starts, `width` their row length.
[[gnu::always_inline]] inline void fillSmallTriangle(uint32_t* frame, float* depth, size_t width,
                                                     uint32_t color, PixelCorner p1, PixelCorner p2,
                                                     PixelCorner p3) {
  const int64_t y3 = p3.y;
  frame += static_cast<size_t>(y3) * width;
  depth += static_cast<size_t>(y3) * width;
  const SpanEnd c1{p1.x, p1.iz}, c2{p2.x, p2.iz}, c3{p3.x, p3.iz};
  // Which of P1 and P2 lie on the row below the top one. Each shape gets its own copy of the
  // row code, so one jump picks the shape and the branches inside each copy learn that
  // shape's habits.
  switch ((p1.y - y3) | (p2.y - y3) << 1) {
    case 0:  // one row
      drawRowInside(frame, depth, color, c2, c1);
      break;
    case 1:  // P2 on the top row: edge A turned there and advanced once
      drawRowInside(frame, depth, color, c2, c3);
      drawRowInside(frame + width, depth + width, color,
                    SpanEnd{p1.x - sign(p1.x - p2.x), p2.iz + (p1.iz - p2.iz)}, c1);
      break;
    case 2:  // P1 on the top row: edge B turned there and advanced once
      drawRowInside(frame, depth, color, c3, c1);
      drawRowInside(frame + width, depth + width, color, c2,
                    SpanEnd{p2.x - sign(p2.x - p1.x), p1.iz + (p2.iz - p1.iz)});
      break;
    default:  // P3 alone on the top row
      drawPixelInside(frame, depth, color, c3);
      drawRowInside(frame + width, depth + width, color, c2, c1);
      break;
  }
}

constexpr int32_t kUnusable = INT32_MIN;
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
        vcx_(_mm_set1_ps(cx_)),
        vcy_(_mm_set1_ps(cy_)),
        minX_(rb.clipMinX),
        minY_(rb.clipMinY),
        extentX_(static_cast<uint32_t>(rb.clipMaxX) - static_cast<uint32_t>(rb.clipMinX)),
        extentY_(static_cast<uint32_t>(rb.clipMaxY) - static_cast<uint32_t>(rb.clipMinY)),
        clipMinX_(_mm_set1_epi32(minX_)),
        clipMinY_(_mm_set1_epi32(minY_)),
        flippedExtentX_(_mm_set1_epi32(static_cast<int32_t>(extentX_ ^ 0x80000000u))),
        flippedExtentY_(_mm_set1_epi32(static_cast<int32_t>(extentY_ ^ 0x80000000u))) {
    const size_t n = static_cast<size_t>(m.vertexCount);
    // The editor sizes the table with the model at start-up; only callers that did not
    // (tests, benchmarks) grow it here.
    if (rb.screenVertices.size() < n) rb.screenVertices = FixedArray<ScreenVertex>(n);
    out_ = rb.screenVertices.data();
  }

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
    riz = _mm_or_ps(_mm_and_ps(usable, riz),
                    _mm_andnot_ps(_mm_andnot_ps(outside, usable), _mm_castsi128_ps(signBits)));
    rfy = _mm_and_ps(usable, rfy);
    _MM_TRANSPOSE4_PS(rx, ry, riz, rfy);  // now one vertex per register
    _mm_storeu_ps(reinterpret_cast<float*>(out_ + v), rx);
    _mm_storeu_ps(reinterpret_cast<float*>(out_ + v + 1), ry);
    _mm_storeu_ps(reinterpret_cast<float*>(out_ + v + 2), riz);
    _mm_storeu_ps(reinterpret_cast<float*>(out_ + v + 3), rfy);
  }

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
      top_ = _mm_min_ss(top_, _mm_set_ss(y));
      bottom_ = _mm_max_ss(bottom_, _mm_set_ss(y));
    } else {
      out_[v] = {kUnusable, 0, -0.0f, 0.0f};
    }
  }

  // The rows the usable vertices lie on (first > last: none).
  std::pair<int32_t, int32_t> rows() const {
    __m128 top = _mm_min_ps(top_, _mm_shuffle_ps(top_, top_, _MM_SHUFFLE(1, 0, 3, 2)));
    top = _mm_min_ps(top, _mm_shuffle_ps(top, top, _MM_SHUFFLE(2, 3, 0, 1)));
    __m128 bottom = _mm_max_ps(bottom_, _mm_shuffle_ps(bottom_, bottom_, _MM_SHUFFLE(1, 0, 3, 2)));
    bottom = _mm_max_ps(bottom, _mm_shuffle_ps(bottom, bottom, _MM_SHUFFLE(2, 3, 0, 1)));
    // Rounding keeps the order, so every usable vertex's row lies between these two.
    return {roundToInt(_mm_cvtss_f32(top)), roundToInt(_mm_cvtss_f32(bottom))};
  }

 private:
  static __m128 farAbove() { return _mm_set1_ps(kMaxCoordinate); }
  static __m128 farBelow() { return _mm_set1_ps(-kMaxCoordinate); }

  float cx_, cy_;
  __m128 vcx_, vcy_;
  // The clip rectangle's top-left corner and its width and height less one.
  int32_t minX_, minY_;
  uint32_t extentX_, extentY_;
  __m128i clipMinX_, clipMinY_, flippedExtentX_, flippedExtentY_;  // the same, lane by lane
  ScreenVertex* out_ = nullptr;
  // The highest and lowest usable frame y, lane by lane.
  __m128 top_ = farAbove(), bottom_ = farBelow();
};

// Fills the vertex table from vertexProj; returns the rows the usable vertices lie on.
std::pair<int32_t, int32_t> prepareScreenVertices(RenderBuffers& rb, const Model& m,
                                                  const Camera& c) {
  ScreenTableWriter table(rb, m, c);
  const size_t n = static_cast<size_t>(m.vertexCount);
  const Vec3* proj = m.vertexProj.data();
  size_t v = 0;
  for (; v + 4 <= n; v += 4) table.four(v, loadFourPoints(proj + v));
  for (; v < n; ++v) table.one(v, proj[v]);
  return table.rows();
}

// The bits of a table entry's 1/z: the sign bit set marks a corner outside the clip rectangle.
inline uint32_t izBits(const ScreenVertex* v) {
  uint32_t bits;
  std::memcpy(&bits, &v->iz, 4);
  return bits;
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

// The pass, built once for each combination of the switches that change its inner loop, so
// that none of them is tested again for every triangle.
// `tableRows`: the vertex table is already filled for this projection and these are the rows
// of its usable vertices; otherwise (null) the pass fills it.
template <bool marking, bool cull, bool wireframe>
void trianglePass(RenderBuffers& rb, Model& m, const Camera& c, uint32_t viewFlags,
                  const std::pair<int32_t, int32_t>* tableRows) {
  const bool modelColors = (viewFlags & kModelColors) != 0;
  FillMode mode;
  mode.markBySpanEnds = marking && (viewFlags & kOnlySelectVisible) == 0;
  mode.unselect = (viewFlags & kUnselect) != 0;
  const float cx = static_cast<float>(c.viewCenterX), cy = static_cast<float>(c.viewCenterY);
  const Vec3* proj = m.vertexProj.data();
  std::pair<int32_t, int32_t> rows{0, -1};  // the rows the filled triangles can draw on
  if (!wireframe) rows = tableRows != nullptr ? *tableRows : prepareScreenVertices(rb, m, c);
  const ScreenVertex* sv = rb.screenVertices.data();
  // A triangle lies between its extreme corners: the edges never leave the corners' columns
  // and the rows run from the top corner to the lowest. One wholly outside the clip
  // rectangle draws and marks nothing.
  const int64_t minX = rb.clipMinX, maxX = rb.clipMaxX, minY = rb.clipMinY, maxY = rb.clipMaxY;
  const bool clipValid = rb.clipMaxX >= rb.clipMinX && rb.clipMaxY >= rb.clipMinY;
  const NormalTurn turn{c.sinXY, c.cosXY, c.sinYZ, c.cosYZ};
  const Vec3* normals = m.triNormal.data();
  // An empty clip rectangle has nothing inside: no filled triangle can draw or mark a pixel.
  const int32_t count = wireframe || clipValid ? m.triangleCount : 0;
  const Tri* tris = m.triVerts.data();
  uint32_t* const frameStart = rb.frameBuffer.data();
  float* const depthStart = rb.depthBuffer.data();
  const size_t frameWidth = static_cast<size_t>(rb.renderWidth);
  const uint16_t* colors = m.triColor.data();
  uint8_t* triFlags = m.triFlags.data();
  for (int32_t t = 0; t < count; ++t) {
    // The normals and corners are read in order; asking for them some 170 triangles ahead
    // keeps the pass from waiting on them (measured faster than leaving it to the hardware).
    _mm_prefetch(reinterpret_cast<const char*>(normals + t) + 2048, _MM_HINT_T0);
    _mm_prefetch(reinterpret_cast<const char*>(tris + t) + 2048, _MM_HINT_T0);
    float nz = 0.0f;
    if (!marking) {
      nz = rotatedDepth(turn, normals[t]);
      if (cull && nz > 0.0f) continue;  // facing away
    }
    const Tri tri = tris[t];
    if (wireframe) {
      const Vec3 va = proj[tri.a], vb = proj[tri.b], vc = proj[tri.c];
      // Any corner nearer than the near plane drops the whole triangle (no clipping).
      if (!(va.z >= kNearPlane && vb.z >= kNearPlane && vc.z >= kNearPlane)) continue;
      rb.drawColor =
          marking ? static_cast<uint32_t>(t)
                  : shadeTriangle(nz, colors[t], (triFlags[t] & kSelectedBit) != 0, modelColors);
      const Corner p1{cx + va.x, cy + va.y, va.z};
      const Corner p2{cx + vb.x, cy + vb.y, vb.z};
      const Corner p3{cx + vc.x, cy + vc.y, vc.z};
      drawLine3D(rb, p2.x, p2.y, p2.z, p3.x, p3.y, p3.z);
      drawLine3D(rb, p3.x, p3.y, p3.z, p1.x, p1.y, p1.z);
      drawLine3D(rb, p2.x, p2.y, p2.z, p1.x, p1.y, p1.z);
      continue;
    }
    const ScreenVertex* va = sv + tri.a;
    const ScreenVertex* vb = sv + tri.b;
    const ScreenVertex* vc = sv + tri.c;
    // The common case first: every corner usable and inside the clip rectangle, which the
    // table marks by leaving the sign of 1/z clear.
    const bool inside = ((izBits(va) | izBits(vb) | izBits(vc)) & 0x80000000u) == 0;
    // Filled triangles write their tagged index; the colours follow once the pass is done.
    const uint32_t tag =
        marking ? static_cast<uint32_t>(t) : kShadeLater | static_cast<uint32_t>(t);
    if (inside && !mode.markBySpanEnds) {
      const SortedCorners k = topCornerLast(va, vb, vc);
      // P3 holds the top row, so neither other corner lies above it: the triangle spans at
      // most two rows when neither lies more than one row below.
      if (((k.p1.y - k.p3.y) | (k.p2.y - k.p3.y)) <= 1) {
        fillSmallTriangle(frameStart, depthStart, frameWidth, tag, k.p1, k.p2, k.p3);
        continue;
      }
      rb.drawColor = tag;
      fillTriangle<true>(rb, k.p1, k.p2, k.p3, mode);
      continue;
    }
    if (!inside) {
      if (va->x == kUnusable || vb->x == kUnusable || vc->x == kUnusable) continue;
      const int64_t left = std::min({va->x, vb->x, vc->x}), right = std::max({va->x, vb->x, vc->x});
      const int64_t top = std::min({va->y, vb->y, vc->y}), bottom = std::max({va->y, vb->y, vc->y});
      if (right < minX || left > maxX || bottom < minY || top > maxY) continue;
    }
    rb.drawColor = tag;
    mode.flags = triFlags + t;
    SortedCorners k = topCornerLast(va, vb, vc);
    // The fill takes 1/z itself, without the table's outside mark.
    for (PixelCorner* p : {&k.p1, &k.p2, &k.p3}) p->iz = std::fabs(p->iz);
    fillTriangle<false>(rb, k.p1, k.p2, k.p3, mode);
  }
  if (!marking && !wireframe) shadeDrawnPixels(rb, m, turn, modelColors, rows.first, rows.second);
}

}  // namespace

void drawTriangles(RenderBuffers& rb, Model& m, const Camera& c, uint32_t viewFlags, bool marking) {
  if (m.triangleCount == 0) return;
  const bool cull = !marking && (viewFlags & kBackfaceCulling) != 0;
  const bool wireframe = (viewFlags & kWireframe) != 0;
  if (wireframe) {
    if (marking)
      trianglePass<true, false, true>(rb, m, c, viewFlags, nullptr);
    else if (cull)
      trianglePass<false, true, true>(rb, m, c, viewFlags, nullptr);
    else
      trianglePass<false, false, true>(rb, m, c, viewFlags, nullptr);
  } else if (marking) {
    trianglePass<true, false, false>(rb, m, c, viewFlags, nullptr);
  } else if (cull) {
    trianglePass<false, true, false>(rb, m, c, viewFlags, nullptr);
  } else {
    trianglePass<false, false, false>(rb, m, c, viewFlags, nullptr);
  }
}

void projectAndDrawTriangles(RenderBuffers& rb, Model& m, const Camera& c, uint32_t viewFlags) {
  if ((viewFlags & kWireframe) != 0) {
    projectVertices(m, c);
    drawTriangles(rb, m, c, viewFlags, false);
    return;
  }
  // The projection and the vertex table in one sweep over the vertices.
  ScreenTableWriter table(rb, m, c);
  const int32_t n = m.vertexCount;
  const Vec3* pos = m.vertexPos.data();
  Vec3* proj = m.vertexProj.data();
  const CameraLanes lanes = cameraLanes(c);
  int32_t v = 0;
  for (; v + 4 <= n; v += 4) {
    const FourPoints p = projectFourPoints(lanes, loadFourPoints(pos + v));
    storeFourProjections(proj + v, p);
    table.four(static_cast<size_t>(v), p);
  }
  projectVertexRange(m, c, v, n);
  for (; v < n; ++v) table.one(static_cast<size_t>(v), proj[v]);
  if (m.triangleCount == 0) return;
  const std::pair<int32_t, int32_t> rows = table.rows();
  if ((viewFlags & kBackfaceCulling) != 0)
    trianglePass<false, true, false>(rb, m, c, viewFlags, &rows);
  else
    trianglePass<false, false, false>(rb, m, c, viewFlags, &rows);
}
