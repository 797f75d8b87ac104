// The scan conversion of one filled triangle: edges stepped row by row with an error term,
// 1/z by float adds, spans depth-tested into a frame. Used by the triangle pass only.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "model/model.h"
#include "render/repeated_add.h"

// Where a fill draws: the frame and depth rows, the clip rectangle (inclusive) and the value
// it writes. A part of the frame drawn by one thread has a clip rectangle of its own.
struct FillTarget {
  uint32_t* frame;
  float* depth;
  size_t width;
  int32_t clipMinX, clipMinY, clipMaxX, clipMaxY;
  uint32_t drawColor;
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

// The depth test and store of one pixel: the triangle's value goes in where its depth 1 / iz
// lies strictly nearer than what the pixel holds.
[[gnu::always_inline]] inline void storeIfNearer(uint32_t* frame, float* depth, int64_t x,
                                                 uint32_t color, float iz) {
  // A plain branch, not selects: with selects every store waits for the load before it,
  // and the next triangle, which mostly touches the same pixels, waits for those stores.
  // A predicted branch lets the stores go ahead; measured faster on the torus.
  const float z = 1.0f / iz;
  if (z < depth[x]) {
    frame[x] = color;
    depth[x] = z;
  }
}

// One span of row y from x = xs to xe inclusive, 1/z from iz by step per pixel.
inline void drawSpan(FillTarget& target, int64_t y, int64_t xs, int64_t xe, float iz, float step) {
  if (xe < target.clipMinX || xs > target.clipMaxX) return;
  if (xs < target.clipMinX) {
    // 1/z still advances over the clipped pixels, one add each, as it would when drawn.
    iz = repeatedAdd(iz, step, target.clipMinX - xs);
    xs = target.clipMinX;
  }
  const int64_t last = std::min<int64_t>(xe, target.clipMaxX);
  const size_t row = static_cast<size_t>(y) * target.width;
  uint32_t* frame = target.frame + row;
  float* depth = target.depth + row;
  const uint32_t color = target.drawColor;
  for (int64_t x = xs; x <= last; ++x) {
    storeIfNearer(frame, depth, x, color, iz);
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

// A row's span from its left end to its right; with both ends on one column, `a` is left.
struct OrderedSpan {
  int64_t left, right;
  float izLeft, izRight;
};
[[gnu::always_inline]] inline OrderedSpan orderEnds(SpanEnd a, SpanEnd b) {
  const bool aRight = a.x > b.x;
  return {aRight ? b.x : a.x, aRight ? a.x : b.x, aRight ? b.iz : a.iz, aRight ? a.iz : b.iz};
}

// One row of a triangle that lies wholly inside the clip rectangle: the span between the
// two edge ends, both included, exactly as the general fill draws it but without clipping.
[[gnu::always_inline]] inline void drawRowInside(uint32_t* frame, float* depth, uint32_t color,
                                                 SpanEnd a, SpanEnd b) {
  const OrderedSpan s = orderEnds(a, b);
  // The first pixel; most rows of a dense model have no other, and need no step.
  storeIfNearer(frame, depth, s.left, color, s.izLeft);
  if (s.right == s.left) return;
  const float step = (s.izRight - s.izLeft) / static_cast<float>(s.right - s.left);
  float iz = s.izLeft;
  for (int64_t x = s.left + 1; x <= s.right; ++x) {
    iz = iz + step;
    storeIfNearer(frame, depth, x, color, iz);
  }
}

// A row of one pixel at x = e.x, as drawRowInside draws it with both ends there.
[[gnu::always_inline]] inline void drawPixelInside(uint32_t* frame, float* depth, uint32_t color,
                                                   SpanEnd e) {
  storeIfNearer(frame, depth, e.x, color, e.iz);
}

// `inside`: the triangle lies wholly inside the clip rectangle and its rows are drawn (not
// tested for marking), so no row or span needs clipping.
template <bool inside>
void fillTriangle(FillTarget& target, PixelCorner p1, PixelCorner p2, PixelCorner p3,
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
  const size_t frameWidth = target.width;
  const size_t top = inside ? static_cast<size_t>(y3) * frameWidth : 0;
  uint32_t* frame = target.frame + top;
  float* depth = target.depth + top;
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
      drawRowInside(frame, depth, target.drawColor, SpanEnd{a.x, a.iz}, SpanEnd{b.x, b.iz});
      frame += frameWidth;
      depth += frameWidth;
    } else if (y > target.clipMaxY) {
      return;  // below the clip rectangle: done
    } else if (y < target.clipMinY) {
      // Rows above it only advance the edges: all of them up to the next turn at once.
      if (turns > 1) return;
      int64_t next = target.clipMinY;
      if (y2 > y) next = std::min(next, y2);
      if (y1 > y) next = std::min(next, y1);
      a.advanceRows(next - y);
      b.advanceRows(next - y);
      y = next - 1;
      continue;
    } else {
      if (mode.markBySpanEnds && ((a.x > b.x && a.x >= target.clipMinX && a.x <= target.clipMaxX) ||
                                  (b.x >= target.clipMinX && b.x <= target.clipMaxX))) {
        if (mode.unselect)
          *mode.flags = static_cast<uint8_t>(*mode.flags & ~kSelectedBit);
        else
          *mode.flags = static_cast<uint8_t>(*mode.flags | kSelectedBit);
        return;
      }
      // From the left end to the right, 1/z from the left end's; one pixel steps by 0.
      const OrderedSpan s = orderEnds(SpanEnd{a.x, a.iz}, SpanEnd{b.x, b.iz});
      const int64_t width = s.right - s.left;
      const float step = (s.izRight - s.izLeft) / static_cast<float>(width > 0 ? width : 1);
      drawSpan(target, y, s.left, s.right, s.izLeft, width > 0 ? step : 0.0f);
    }
    if (turns > 1) return;  // the lower of the two other corners was this row
    a.advance();
    b.advance();
  }
}

inline int64_t signOf(int64_t v) {
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
                    SpanEnd{p1.x - signOf(p1.x - p2.x), p2.iz + (p1.iz - p2.iz)}, c1);
      break;
    case 2:  // P1 on the top row: edge B turned there and advanced once
      drawRowInside(frame, depth, color, c3, c1);
      drawRowInside(frame + width, depth + width, color, c2,
                    SpanEnd{p2.x - signOf(p2.x - p1.x), p1.iz + (p2.iz - p1.iz)});
      break;
    default:  // P3 alone on the top row
      drawPixelInside(frame, depth, color, c3);
      drawRowInside(frame + width, depth + width, color, c2, c1);
      break;
  }
}
