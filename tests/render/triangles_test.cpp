// The triangle pass: coverage, depth test, near rejection, culling, shading, degenerate
// shapes, and a pixel-for-pixel comparison with a plain reference scan converter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "core/editor.h"
#include "core/view_options.h"
#include "render/camera_ops.h"
#include "render/render_passes.h"
#include "render_scene.h"
#include "support/frame_compare.h"

namespace {

constexpr uint32_t kDefaultFlags = 0;  // no culling, no wireframe, default blue

TEST(TriangleCoverage, WorkedExampleRowByRow) {
  Scene s;
  s.tri({1, 1, 5}, {9, 4, 5}, {3, 8, 5});
  drawTriangles(s.rb, s.m, s.c, viewOptionsFrom(kDefaultFlags), false);
  EXPECT_EQ(s.coveredColumns(0), "");
  EXPECT_EQ(s.coveredColumns(1), "1");
  EXPECT_EQ(s.coveredColumns(2), "1..3");
  EXPECT_EQ(s.coveredColumns(3), "1..6");
  EXPECT_EQ(s.coveredColumns(4), "1..9");
  EXPECT_EQ(s.coveredColumns(5), "2..8");
  EXPECT_EQ(s.coveredColumns(6), "2..7");
  EXPECT_EQ(s.coveredColumns(7), "2..5");
  EXPECT_EQ(s.coveredColumns(8), "3..4");
  EXPECT_EQ(s.coveredColumns(9), "");
  EXPECT_EQ(s.coveredCount(), 38);
  EXPECT_EQ(s.depth(5, 5), 5.0f);  // 1/z interpolation of equal depths gives the depth back
}

TEST(TriangleCoverage, CornersRoundHalfToEven) {
  Scene s;
  // 1.5 -> 2, 2.5 -> 2, 8.5 -> 8: the same triangle as (2,2) (8,2) (2,8) in whole pixels.
  s.tri({1.5f, 2.5f, 5}, {8.5f, 2.0f, 5}, {2.0f, 8.4f, 5});
  drawTriangles(s.rb, s.m, s.c, viewOptionsFrom(kDefaultFlags), false);
  EXPECT_EQ(s.coveredColumns(1), "");
  EXPECT_EQ(s.coveredColumns(2), "2..8");
  EXPECT_EQ(s.coveredColumns(8), "2");
  EXPECT_EQ(s.coveredColumns(9), "");
}

TEST(TriangleCoverage, OneRowTriangleDrawsTheSpanBetweenAAndB) {
  Scene s;
  s.tri({2, 5, 5}, {8, 5, 5}, {5, 5, 5});
  s.tri({3, 7, 5}, {6, 7, 5}, {11, 7, 5});  // c beyond b: its pixel stays empty
  drawTriangles(s.rb, s.m, s.c, viewOptionsFrom(kDefaultFlags), false);
  EXPECT_EQ(s.coveredColumns(5), "2..8");
  EXPECT_EQ(s.coveredColumns(7), "3..6");
  EXPECT_EQ(s.coveredCount(), 7 + 4);
}

TEST(TriangleCoverage, OnePixelTriangleDrawsThatPixel) {
  Scene s;
  s.tri({4.2f, 3.9f, 5}, {3.8f, 4.1f, 5}, {4.0f, 4.4f, 5});
  drawTriangles(s.rb, s.m, s.c, viewOptionsFrom(kDefaultFlags), false);
  EXPECT_EQ(s.coveredCount(), 1);
  EXPECT_NE(s.px(4, 4), 0u);
}

TEST(TriangleDepth, IdenticalTrianglesKeepTheLowerIndex) {
  Scene s;
  s.tri({1, 1, 7}, {9, 4, 7}, {3, 8, 7}, {0, 0, -1}, colorWord(31, 0, 0));
  s.tri({1, 1, 7}, {9, 4, 7}, {3, 8, 7}, {0, 0, -1}, colorWord(0, 31, 0));
  drawTriangles(s.rb, s.m, s.c, viewOptionsFrom(kModelColors), false);
  EXPECT_EQ(s.px(4, 4), 0x00FF6060u);  // red 248 + 96 clamped, the others 0 + 96
  EXPECT_EQ(s.coveredCount(), 38);
}

TEST(TriangleShading, EveryPixelOfAnOddSizedFrameIsShaded) {
  // 15 pixels: the shading works through whole groups of four and then the last three.
  Scene s(5, 3);
  s.tri({-1, -1, 5}, {10, -1, 5}, {-1, 10, 5}, {0, 0, -1}, colorWord(31, 0, 0));
  s.tri({4.2f, 1.9f, 2}, {3.8f, 2.1f, 2}, {4.0f, 2.4f, 2}, {0, 0, -0.25f}, colorWord(0, 0, 31));
  drawTriangles(s.rb, s.m, s.c, viewOptionsFrom(kModelColors), false);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(s.px(x, y), x == 4 && y == 2 ? 0x000000BAu : 0x00FF6060u) << x << "," << y;
}

TEST(TriangleDepth, NearerTriangleWinsWhateverTheOrder) {
  Scene s;
  s.tri({0, 0, 9}, {12, 0, 9}, {0, 10, 9}, {0, 0, -1}, colorWord(31, 0, 0));
  s.tri({0, 0, 3}, {12, 0, 3}, {0, 10, 3}, {0, 0, -1}, colorWord(0, 0, 31));
  drawTriangles(s.rb, s.m, s.c, viewOptionsFrom(kModelColors), false);
  EXPECT_EQ(s.px(2, 2), 0x006060FFu);
  EXPECT_EQ(s.depth(2, 2), 3.0f);
}

TEST(TriangleDepth, CornerInsideTheNearPlaneHidesTheWholeTriangle) {
  Scene s;
  s.tri({1, 1, 5}, {9, 4, 0.9f}, {3, 8, 5});
  s.tri({1, 1, 1.0f}, {9, 1, 1.0f}, {1, 2, 1.0f});  // exactly at the near plane: drawn
  drawTriangles(s.rb, s.m, s.c, viewOptionsFrom(kDefaultFlags), false);
  EXPECT_EQ(s.coveredColumns(4), "");
  EXPECT_EQ(s.coveredColumns(1), "1..9");
}

TEST(TriangleShading, CullingDropsFacesSeenFromBehind) {
  Scene front, back, backUnculled;
  front.tri({1, 1, 5}, {9, 4, 5}, {3, 8, 5}, {0.0f, 0.6f, -0.8f});
  back.tri({1, 1, 5}, {9, 4, 5}, {3, 8, 5}, {0.0f, 0.6f, 0.8f});
  backUnculled.tri({1, 1, 5}, {9, 4, 5}, {3, 8, 5}, {0.0f, 0.6f, 0.8f});
  drawTriangles(front.rb, front.m, front.c, viewOptionsFrom(kBackfaceCulling), false);
  drawTriangles(back.rb, back.m, back.c, viewOptionsFrom(kBackfaceCulling), false);
  drawTriangles(backUnculled.rb, backUnculled.m, backUnculled.c, viewOptionsFrom(0), false);
  EXPECT_EQ(front.coveredCount(), 38);
  EXPECT_EQ(back.coveredCount(), 0);
  EXPECT_EQ(backUnculled.coveredCount(), 38);
  EXPECT_EQ(backUnculled.px(4, 4), front.px(4, 4));  // shaded like its front
  Scene edgeOn;                                      // nz = 0 is drawn, at half brightness
  edgeOn.tri({1, 1, 5}, {9, 4, 5}, {3, 8, 5}, {0.0f, 1.0f, 0.0f});
  drawTriangles(edgeOn.rb, edgeOn.m, edgeOn.c, viewOptionsFrom(kBackfaceCulling), false);
  EXPECT_EQ(edgeOn.px(4, 4), 120u);
}

TEST(TriangleShading, BrightensSquareFacesAndDarkensOblique) {
  Scene s;
  s.tri({0, 0, 5}, {6, 0, 5}, {0, 4, 5}, {0, 0, -1}, colorWord(31, 31, 31));
  s.tri({8, 0, 5}, {14, 0, 5}, {8, 4, 5}, {0.0f, 0.9682458f, -0.25f});
  drawTriangles(s.rb, s.m, s.c, viewOptionsFrom(kModelColors), false);
  EXPECT_EQ(s.px(1, 1), 0x00FFFFFFu);  // 248 + 96 clamped
  Scene blue;
  blue.tri({8, 0, 5}, {14, 0, 5}, {8, 4, 5}, {0.0f, 0.9682458f, -0.25f});
  drawTriangles(blue.rb, blue.m, blue.c, viewOptionsFrom(0), false);  // model colours off: blue 240
  EXPECT_EQ(blue.px(9, 1), 180u);
}

TEST(TriangleShading, SelectedTrianglesAreRedEvenWithModelColours) {
  Scene s;
  const int32_t t = s.tri({0, 0, 5}, {6, 0, 5}, {0, 4, 5}, {0, 0, -1}, colorWord(0, 31, 31));
  s.m.triFlags[t] = kSelectedBit | 3;
  const int32_t u = s.tri({8, 0, 5}, {14, 0, 5}, {8, 4, 5}, {0.0f, 0.9682458f, -0.25f});
  s.m.triFlags[u] = kSelectedBit;
  drawTriangles(s.rb, s.m, s.c, viewOptionsFrom(kModelColors), false);
  EXPECT_EQ(s.px(1, 1), 0x00FF6060u);  // 224 + 96 clamped, 0 + 96
  EXPECT_EQ(s.px(9, 1), 168u << 16);   // round(224 * 0.75)
}

TEST(TriangleClip, OffFrameCornersAreClippedPerPixel) {
  Scene s(16, 12);
  s.tri({-40, -30, 5}, {60, 5, 5}, {-20, 50, 5});
  drawTriangles(s.rb, s.m, s.c, viewOptionsFrom(0), false);
  EXPECT_EQ(s.coveredCount(), 16 * 12);  // covers the whole frame, writes nothing outside
}

// A clip rectangle turned inside out (a selection box of no width or height) has no pixel in
// it: nothing is drawn, and neither marking mode selects anything.
TEST(TriangleClip, EmptyClipRectangleDrawsAndMarksNothing) {
  for (const bool emptyColumns : {true, false}) {
    Scene s(16, 12);
    s.tri({1, 1, 5}, {14, 2, 5}, {3, 10, 5});  // large, over the whole rectangle
    s.tri({6, 6, 5}, {7, 6, 5}, {6, 7, 5});    // small, inside it
    s.rb.clipMinX = 2, s.rb.clipMinY = 2, s.rb.clipMaxX = 12, s.rb.clipMaxY = 9;
    if (emptyColumns)
      s.rb.clipMaxX = 1;
    else
      s.rb.clipMaxY = 1;
    drawTriangles(s.rb, s.m, s.c, viewOptionsFrom(0), false);
    EXPECT_EQ(s.coveredCount(), 0);
    for (const uint32_t flags : {0u, static_cast<uint32_t>(kOnlySelectVisible)}) {
      drawTriangles(s.rb, s.m, s.c, viewOptionsFrom(flags), true);
      EXPECT_EQ(s.coveredCount(), 0);
      EXPECT_EQ(s.m.triFlags[0] | s.m.triFlags[1], 0);
    }
  }
}

// ---- reference: the scan conversion written out plainly, one pixel at a time ----

struct RefEdge {
  long x = 0, dx = 0, dy = 0, err = 0, dir = 1;
  float iz = 0, step = 0;
};

// With `marked` given, rows also run the selection box's span-end test: the first row whose
// span end lies in the box's columns sets *marked and ends the triangle.
void refTriangle(Scene& s, Vec3 p1, Vec3 p2, Vec3 p3, uint32_t color, bool* marked = nullptr) {
  if (p1.z < 1.0f || p2.z < 1.0f || p3.z < 1.0f) return;
  if (p1.y < p2.y) std::swap(p1, p2);
  if (p2.y < p3.y) std::swap(p2, p3);
  const long x1 = std::lrint(p1.x), y1 = std::lrint(p1.y), x2 = std::lrint(p2.x),
             y2 = std::lrint(p2.y), x3 = std::lrint(p3.x), y3 = std::lrint(p3.y);
  const float iz1 = 1.0f / p1.z, iz2 = 1.0f / p2.z, iz3 = 1.0f / p3.z;
  RefEdge A, B;
  A.x = B.x = x3;
  A.iz = B.iz = iz3;
  A.dy = y2 - y3;
  if (A.dy > 0) {
    A.step = (iz2 - iz3) / static_cast<float>(A.dy);
    A.dx = std::labs(x2 - x3);
    A.dir = x2 >= x3 ? 1 : -1;
  }
  B.dy = y1 - y3;
  if (B.dy > 0) {
    B.step = (iz1 - iz3) / static_cast<float>(B.dy);
    B.dx = std::labs(x1 - x3);
    B.dir = x1 >= x3 ? 1 : -1;
  }
  int turns = 0;
  const RenderBuffers& rb = s.rb;
  for (long y = y3;; ++y) {
    if (y == y2) {
      A.x = x2, A.iz = iz2;
      if (++turns == 1) {
        A.dy = y1 - y;
        if (A.dy > 0) {
          A.step = (iz1 - iz2) / static_cast<float>(A.dy);
          A.dx = std::labs(x1 - x2), A.dir = x1 >= x2 ? 1 : -1, A.err = 0;
        }
      }
    }
    if (y == y1) {
      B.x = x1, B.iz = iz1;
      if (++turns == 1) {
        B.dy = y2 - y;
        B.step = (iz2 - iz1) / static_cast<float>(B.dy);
        B.dx = std::labs(x2 - x1), B.dir = x2 >= x1 ? 1 : -1, B.err = 0;
      }
    }
    if (y >= rb.clipMinY) {
      if (y > rb.clipMaxY) return;
      if (marked != nullptr && ((A.x > B.x && A.x >= rb.clipMinX && A.x <= rb.clipMaxX) ||
                                (B.x >= rb.clipMinX && B.x <= rb.clipMaxX))) {
        *marked = true;
        return;
      }
      long from = A.x, to = B.x;
      float iz = A.iz, step = 0.0f;
      if (A.x > B.x) {
        from = B.x, to = A.x, iz = B.iz;
        step = (A.iz - B.iz) / static_cast<float>(A.x - B.x);
      } else if (B.x > A.x) {
        step = (B.iz - A.iz) / static_cast<float>(B.x - A.x);
      }
      for (long x = from; x <= to; ++x) {
        if (x > rb.clipMaxX) break;
        if (x >= rb.clipMinX) {
          const float z = 1.0f / iz;
          if (z < s.depth(static_cast<int>(x), static_cast<int>(y))) {
            s.px(static_cast<int>(x), static_cast<int>(y)) = color;
            s.depth(static_cast<int>(x), static_cast<int>(y)) = z;
          }
        }
        iz = iz + step;
      }
    }
    if (turns > 1) return;
    A.iz = A.iz + A.step;
    B.iz = B.iz + B.step;
    for (A.err += A.dx; A.err > A.dy; A.err -= A.dy) A.x += A.dir;
    for (B.err += B.dx; B.err > B.dy; B.err -= B.dy) B.x += B.dir;
  }
}

// `farOut`: how far off the frame the huge corners reach.
Vec3 randomCorner(std::mt19937& rng, int kind, float farOut = 300.0f) {
  std::uniform_real_distribution<float> depth(0.8f, 40.0f);
  if (kind == 0) {  // on and around the frame
    std::uniform_real_distribution<float> x(-10.0f, 74.0f), y(-10.0f, 58.0f);
    return {x(rng), y(rng), depth(rng)};
  }
  if (kind == 1) {  // huge, far off-screen
    std::uniform_real_distribution<float> c(-farOut, farOut);
    return {c(rng), c(rng), depth(rng)};
  }
  // few distinct rows and columns: shared rows, collinear and single-pixel shapes
  std::uniform_int_distribution<int> x(-2, 66), y(-2, 50), pick(0, 3);
  return {static_cast<float>(x(rng) / 8 * 8) + 0.5f * static_cast<float>(pick(rng)),
          static_cast<float>(y(rng) / 8 * 8), depth(rng)};
}

void compareWithReference(unsigned seed, int clipMinX, int clipMinY, int clipMaxX, int clipMaxY,
                          float farOut = 300.0f) {
  Scene mine(64, 48), ref(64, 48);
  std::mt19937 rng(seed);
  for (int i = 0; i < 150; ++i) {
    const int kind = i % 10 < 6 ? 0 : i % 10 < 8 ? 1 : 2;
    const Vec3 a = randomCorner(rng, kind, farOut), b = randomCorner(rng, kind, farOut),
               c = randomCorner(rng, kind, farOut);
    mine.tri(a, b, c);
  }
  for (Scene* s : {&mine, &ref}) {
    s->rb.clipMinX = clipMinX, s->rb.clipMinY = clipMinY;
    s->rb.clipMaxX = clipMaxX, s->rb.clipMaxY = clipMaxY;
  }
  drawTriangles(mine.rb, mine.m, mine.c, viewOptionsFrom(kOnlySelectVisible),
                true);  // index as colour
  for (int32_t t = 0; t < mine.m.triangleCount; ++t) {
    const Tri tri = mine.m.triVerts[t];
    refTriangle(ref, mine.m.vertexProj[tri.a], mine.m.vertexProj[tri.b], mine.m.vertexProj[tri.c],
                static_cast<uint32_t>(t));
  }
  EXPECT_TRUE(framesMatch("marking_" + std::to_string(seed) + "_clip" + std::to_string(clipMinX) +
                              "_" + std::to_string(clipMinY),
                          pictureOf(mine.rb), pictureOf(ref.rb)));
  EXPECT_GT(ref.coveredCount(0), 0);
}

// The colour rule written out plainly: the normal turned by the camera (the same float steps
// as the camera's point rotation), culling on its depth component, then the shading.
bool refColor(const Camera& c, Vec3 n, uint16_t word, uint8_t flags, bool cull, bool modelColors,
              uint32_t& color) {
  const float y1 = n.x * c.sinXY + n.y * c.cosXY;
  const float nz = n.z * c.cosYZ - y1 * c.sinYZ;
  if (cull && nz > 0.0f) return false;
  long rgb[3] = {0, 0, 240};
  if (modelColors)
    rgb[0] = ((word >> 10) & 31) * 8, rgb[1] = ((word >> 5) & 31) * 8, rgb[2] = (word & 31) * 8;
  if ((flags & kSelectedBit) != 0) rgb[0] = 224, rgb[1] = 0, rgb[2] = 0;
  float a = std::fabs(nz);
  if (std::isnan(a)) a = 0.0f;
  for (long& ch : rgb) {
    if (a < 0.5f)
      ch = std::lrint(static_cast<float>(ch) * (a + 0.5f));
    else
      ch = std::min(ch + std::lrint(192.0f * a - 96.0f), 255L);
  }
  color = static_cast<uint32_t>(rgb[0] << 16 | rgb[1] << 8 | rgb[2]);
  return true;
}

// Display mode against the reference: shared corners (each vertex used by several
// triangles), corners behind the near plane or too far out to round, culling, selection,
// model colours and a turned camera, over the whole frame or inside a clip box.
void compareDisplayWithReference(unsigned seed, uint32_t viewFlags, int clipMinX, int clipMinY,
                                 int clipMaxX, int clipMaxY, int width = 64) {
  Scene mine(width, 48), ref(width, 48);
  std::mt19937 rng(seed);
  for (Scene* s : {&mine, &ref}) {
    s->c.viewCenterX = 3, s->c.viewCenterY = -2;
    s->c.cosXY = 0.8f, s->c.sinXY = 0.6f, s->c.cosYZ = -0.28f, s->c.sinYZ = 0.96f;
  }
  for (int v = 0; v < 120; ++v) {
    Vec3 p = randomCorner(rng, v % 10 < 7 ? 0 : v % 10 < 9 ? 2 : 1);
    if (v % 37 == 5) p.x = 3.0e9f;  // cannot be rounded to a pixel
    if (v % 41 == 7) p.y = -3.0e9f;
    mine.vert(p.x, p.y, p.z);
  }
  std::uniform_int_distribution<int32_t> vert(0, 119), word(0, 0x7FFF), sel(0, 3);
  std::uniform_real_distribution<float> comp(-1.0f, 1.0f);
  for (int i = 0; i < 200; ++i) {
    Vec3 n{comp(rng), comp(rng), comp(rng)};
    if (i % 23 == 0) n = {0.0f, 0.0f, 0.0f};
    if (i % 29 == 1) n = {0.0f, 0.0f, std::nanf("")};  // broken: shades like a zero normal
    if (i % 31 == 2) n = {0.0f, 0.3f, -4.0f};          // every channel saturates
    const int32_t t =
        mine.tri(vert(rng), vert(rng), vert(rng), n, static_cast<uint16_t>(word(rng)));
    mine.m.triFlags[t] = static_cast<uint8_t>(sel(rng) == 0 ? kSelectedBit | 5 : 5);
  }
  for (Scene* s : {&mine, &ref}) {
    s->rb.clipMinX = clipMinX, s->rb.clipMinY = clipMinY;
    s->rb.clipMaxX = clipMaxX, s->rb.clipMaxY = clipMaxY;
    // Lines already in the frame, as the grid leaves them: pixels no triangle covers keep
    // their colour, covered ones take the triangle's.
    for (int y = 0; y < 48; y += 5)
      for (int x = 0; x < width; ++x) s->px(x, y) = 0x00FFFF00u;
  }
  drawTriangles(mine.rb, mine.m, mine.c, viewOptionsFrom(viewFlags), false);
  const float cx = static_cast<float>(ref.c.viewCenterX),
              cy = static_cast<float>(ref.c.viewCenterY);
  for (int32_t t = 0; t < mine.m.triangleCount; ++t) {
    uint32_t color = 0;
    if (!refColor(ref.c, mine.m.triNormal[t], mine.m.triColor[t], mine.m.triFlags[t],
                  (viewFlags & kBackfaceCulling) != 0, (viewFlags & kModelColors) != 0, color))
      continue;
    const Tri tri = mine.m.triVerts[t];
    Vec3 corner[3] = {mine.m.vertexProj[tri.a], mine.m.vertexProj[tri.b], mine.m.vertexProj[tri.c]};
    bool far = false;
    for (Vec3& p : corner) {
      p.x = cx + p.x, p.y = cy + p.y;
      far = far || !(std::fabs(p.x) < 1073741824.0f && std::fabs(p.y) < 1073741824.0f);
    }
    if (far && corner[0].z >= 1.0f && corner[1].z >= 1.0f && corner[2].z >= 1.0f) continue;
    refTriangle(ref, corner[0], corner[1], corner[2], color);
  }
  EXPECT_TRUE(framesMatch("display_" + std::to_string(seed) + "_flags" + std::to_string(viewFlags) +
                              "_clip" + std::to_string(clipMinX) + "_w" + std::to_string(width),
                          pictureOf(mine.rb), pictureOf(ref.rb)));
  EXPECT_GT(ref.coveredCount(0), 100);
}

TEST(TriangleReference, ShadedCulledTrianglesWithSharedCornersMatch) {
  for (unsigned seed = 21; seed <= 24; ++seed) {
    compareDisplayWithReference(seed, kBackfaceCulling, 0, 0, 63, 47);
    compareDisplayWithReference(seed, 0, 0, 0, 63, 47);
    compareDisplayWithReference(seed, kBackfaceCulling | kModelColors, 0, 0, 63, 47);
    compareDisplayWithReference(seed, kModelColors, 11, 5, 50, 33);
    // A frame width that is not a multiple of four pixels.
    compareDisplayWithReference(seed, kModelColors, 0, 0, 60, 47, 61);
  }
}

// Many triangles a pixel or two across, the size the renderer meets in a dense model.
TEST(TriangleReference, TinyTrianglesMatch) {
  for (unsigned seed = 31; seed <= 42; ++seed) {
    Scene mine(32, 24), ref(32, 24);
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> base(-1.0f, 33.0f), off(-1.6f, 1.6f), depth(2.0f, 9.0f);
    for (int i = 0; i < 330; ++i) {  // the scene holds 1000 vertices
      const float x = base(rng), y = base(rng) * 0.75f, z = depth(rng);
      mine.tri({x, y, z}, {x + off(rng), y + off(rng), z + off(rng)},
               {x + off(rng), y + off(rng), z + off(rng)});
    }
    drawTriangles(mine.rb, mine.m, mine.c, viewOptionsFrom(kOnlySelectVisible), true);
    for (int32_t t = 0; t < mine.m.triangleCount; ++t) {
      const Tri tri = mine.m.triVerts[t];
      refTriangle(ref, mine.m.vertexProj[tri.a], mine.m.vertexProj[tri.b], mine.m.vertexProj[tri.c],
                  static_cast<uint32_t>(t));
    }
    EXPECT_TRUE(framesMatch("tiny_" + std::to_string(seed), pictureOf(mine.rb), pictureOf(ref.rb)));
  }
}

// Triangles of one, two and three rows and spans of a few pixels, each drawn alone over a
// depth buffer that hides some of its pixels, compared bit for bit with the reference: the
// shapes a dense model is made of, where the fill takes its shortcuts. Corners sit on
// quarter pixels so rows and columns are often shared and halves round to even; some
// triangles cross the frame or the clip box edges.
struct SmallCase {
  uint32_t flags;
  bool marking;
  int clipMinX, clipMinY, clipMaxX, clipMaxY;
  int spreadX = 12;  // how far (in quarter pixels) a corner's x strays from the base point
};

void compareSmallTrianglesOneAtATime(unsigned seed, const SmallCase& sc, int count) {
  constexpr int kW = 12, kH = 10;
  constexpr uint32_t kUnmarked = 0x7FFFFFFFu;
  Scene mine(kW, kH), ref(kW, kH);
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> baseX(-8, 4 * kW + 4), baseY(-8, 4 * kH + 4);
  std::uniform_int_distribution<int> offX(-sc.spreadX, sc.spreadX), offY(-6, 6), depthQ(4, 24),
      same(0, 3);
  int rowsSeen[4] = {0, 0, 0, 0}, widthsSeen[4] = {0, 0, 0, 0}, marks = 0, drawn = 0;
  const bool markBySpanEnds = sc.marking && (sc.flags & kOnlySelectVisible) == 0;
  const bool unselect = (sc.flags & kUnselect) != 0;
  for (int i = 0; i < count; ++i) {
    for (Scene* s : {&mine, &ref}) {
      s->rb.clipMinX = sc.clipMinX, s->rb.clipMinY = sc.clipMinY;
      s->rb.clipMaxX = sc.clipMaxX, s->rb.clipMaxY = sc.clipMaxY;
      clearRenderBuffers(s->rb, kFar);
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
          if ((x * 7 + y * 3 + i) % 5 == 0) s->depth(x, y) = 3.0f;  // hides the far corners
          if (sc.marking) s->px(x, y) = kUnmarked;
        }
    }
    mine.m.vertexCount = 0;
    mine.m.triangleCount = 0;
    const float bx = 0.25f * static_cast<float>(baseX(rng)),
                by = 0.25f * static_cast<float>(baseY(rng));
    Vec3 corner[3];
    for (Vec3& p : corner)
      p = {bx + 0.25f * static_cast<float>(offX(rng)), by + 0.25f * static_cast<float>(offY(rng)),
           0.25f * static_cast<float>(depthQ(rng))};
    if (same(rng) == 0) corner[2].y = corner[0].y;  // two corners on one row
    if (same(rng) == 0) corner[1].z = corner[0].z;
    if (i % 50 == 7) corner[2].z = 0.9f;  // nearer than the near plane: not drawn
    mine.tri(corner[0], corner[1], corner[2]);
    mine.m.triFlags[0] = unselect ? kSelectedBit : 0;
    // Every other triangle with a fourth, unused vertex: the vertex table is prepared in
    // groups of four and then the rest, and both ways must give the same corners.
    if (i % 2 == 0) mine.vert(bx, by, 0.5f);
    drawTriangles(mine.rb, mine.m, mine.c, viewOptionsFrom(sc.flags), sc.marking);
    uint32_t color = 0;
    if (sc.marking)
      color = 0;  // the triangle's index
    else
      ASSERT_TRUE(refColor(ref.c, mine.m.triNormal[0], 0, 0, false, false, color));
    bool marked = false;
    refTriangle(ref, corner[0], corner[1], corner[2], color, markBySpanEnds ? &marked : nullptr);
    ASSERT_EQ((mine.m.triFlags[0] & kSelectedBit) != 0, marked != unselect)
        << "seed " << seed << " triangle " << i;
    marks += marked;
    long ys[3], xs[3];
    for (int k = 0; k < 3; ++k) ys[k] = std::lrint(corner[k].y), xs[k] = std::lrint(corner[k].x);
    const long rows = *std::max_element(ys, ys + 3) - *std::min_element(ys, ys + 3);
    const long cols = *std::max_element(xs, xs + 3) - *std::min_element(xs, xs + 3);
    ++rowsSeen[std::min(rows, 3L)];
    ++widthsSeen[std::min(cols, 3L)];
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        uint32_t d1 = 0, d2 = 0;
        std::memcpy(&d1, &mine.depth(x, y), 4);
        std::memcpy(&d2, &ref.depth(x, y), 4);
        drawn += d2 != 0x49742400u && ref.depth(x, y) != 3.0f;
        ASSERT_TRUE(mine.px(x, y) == ref.px(x, y) && d1 == d2)
            << "seed " << seed << " triangle " << i << " pixel (" << x << ", " << y << ") corners ("
            << corner[0].x << ", " << corner[0].y << ") (" << corner[1].x << ", " << corner[1].y
            << ") (" << corner[2].x << ", " << corner[2].y << ")";
      }
  }
  // The shapes were really met: one, two and three or more rows, spans of one to four.
  for (int k = 0; k < 4; ++k) {
    EXPECT_GT(rowsSeen[k], count / 50) << "rows " << k + 1;
    // Wide spreads make mostly wide spans: there only those must be common.
    if (sc.spreadX <= 12 || k == 3) {
      EXPECT_GT(widthsSeen[k], count / 50) << "columns " << k + 1;
    }
  }
  if (sc.clipMinX <= sc.clipMaxX) {
    EXPECT_GT(drawn, count / 100);
  }
  if (markBySpanEnds) {
    EXPECT_GT(marks, count / 50);
  }
}

TEST(TriangleReference, SmallTrianglesMatchOneAtATime) {
  const SmallCase cases[] = {
      {0, false, 0, 0, 11, 9},                  // display mode, whole frame
      {kBackfaceCulling, false, 3, 2, 8, 6},    // display mode inside a clip box
      {kOnlySelectVisible, true, 0, 0, 11, 9},  // marking by drawing the indices
      {kOnlySelectVisible, true, 2, 1, 9, 7},
      {0, true, 2, 1, 9, 7},  // marking by span ends
      {kUnselect, true, 4, 3, 5, 4},
      {0, false, 8, 2, 3, 6},       // an empty clip box: nothing is drawn
      {0, false, 0, 0, 11, 9, 28},  // flat edges that step several pixels per row
  };
  unsigned seed = 51;
  for (const SmallCase& sc : cases) compareSmallTrianglesOneAtATime(seed++, sc, 20000);
}

TEST(TriangleReference, RandomTrianglesMatchPixelForPixel) {
  for (unsigned seed = 1; seed <= 4; ++seed) compareWithReference(seed, 0, 0, 63, 47);
}

TEST(TriangleReference, RandomTrianglesMatchInsideAClipBox) {
  for (unsigned seed = 11; seed <= 13; ++seed) compareWithReference(seed, 9, 7, 40, 30);
}

TEST(TriangleReference, CornersFarOffTheFrameMatchPixelForPixel) {
  // The rows and pixels off the frame are skipped, not stepped: 1/z must come out the same.
  compareWithReference(21, 0, 0, 63, 47, 40000.0f);
  compareWithReference(22, 9, 7, 40, 30, 40000.0f);
}

// A model seen through a real camera, drawn after the plain projection and by the render's
// projection that fills the vertex table in the same sweep: the same frame and depth bits.
// Some vertices lie nearer than the near plane, some project far off the frame, and the
// vertex count is not a multiple of four.
void buildCameraScene(Model& m, Camera& c, unsigned seed) {
  ASSERT_EQ(allocateModel(m, 600, 700, 1), "");
  c.cameraXY = 0.6f, c.cameraYZ = 4.3f, c.cameraDistance = 30.0f, c.cameraZoom = 32.0f;
  c.viewCenterX = 32, c.viewCenterY = 30;
  computeCameraTrig(c);
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> coord(-12.0f, 12.0f), unit(-1.0f, 1.0f);
  std::uniform_int_distribution<int> vertex(0, 597), kind(0, 49);
  for (int32_t v = 0; v < 598; ++v) {
    m.vertexPos[v] = {coord(rng), coord(rng), coord(rng)};
    if (kind(rng) == 0) m.vertexPos[v].z = 40.0f;  // towards the camera: nearer than 1
    if (kind(rng) == 1) m.vertexPos[v].x = 1e9f;   // far off the frame
  }
  m.vertexCount = 598;
  for (int32_t t = 0; t < 700; ++t) {
    const int32_t a = vertex(rng);
    m.triVerts[t] = {a, std::min(a + 1 + kind(rng) % 3, 597), std::max(a - 1 - kind(rng) % 4, 0)};
    m.triNormal[t] = {unit(rng), unit(rng), unit(rng)};
    m.triColor[t] = static_cast<uint16_t>(t * 37);
    m.triFlags[t] = t % 9 == 0 ? kSelectedBit : 0;
  }
  m.triangleCount = 700;
}

TEST(TriangleVertexTable, ProjectingWithTheTableDrawsTheSameFrame) {
  for (unsigned seed = 61; seed <= 64; ++seed)
    for (uint32_t flags :
         {0u, kBackfaceCulling | kModelColors, static_cast<uint32_t>(kWireframe)}) {
      Model plainModel, model;
      Camera c;
      buildCameraScene(plainModel, c, seed);
      buildCameraScene(model, c, seed);
      RenderBuffers plain, fused;
      ASSERT_TRUE(allocateRenderBuffers(plain, 64, 48, 1));
      ASSERT_TRUE(allocateRenderBuffers(fused, 64, 48, 1, 599));
      clearRenderBuffers(plain, kFar);
      projectVertices(plainModel, c);
      drawTriangles(plain, plainModel, c, viewOptionsFrom(flags), false);
      clearRenderBuffers(fused, kFar);
      projectAndDrawTriangles(fused, model, c, viewOptionsFrom(flags));
      const std::string name = "fused_" + std::to_string(seed) + "_flags" + std::to_string(flags);
      EXPECT_TRUE(framesMatch(name, pictureOf(fused), pictureOf(plain)));
      EXPECT_GT(std::count_if(plain.frameBuffer.begin(), plain.frameBuffer.end(),
                              [](uint32_t p) { return p != 0; }),
                300)
          << name;
      EXPECT_EQ(
          std::memcmp(plainModel.vertexProj.data(), model.vertexProj.data(), 598 * sizeof(Vec3)),
          0);
    }
}

}  // namespace
