// Lines, vertex dots, the ground grid and the selection rectangle's marking mode.
#include "render/overlays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "core/editor.h"
#include "core/view_options.h"
#include "render/box_select.h"
#include "render/camera_ops.h"
#include "render_scene.h"

namespace {

TEST(OverlayLine, StepsByFloatIncrementsAndRoundsEachPoint) {
  Scene s;
  s.rb.drawColor = 0x00FF8800;
  drawLine3D(s.rb, 10.2f, 5.0f, 4.0f, 13.6f, 5.0f, 4.0f);
  EXPECT_EQ(s.coveredColumns(5), "10..12,14");
  EXPECT_EQ(s.coveredCount(), 4);
  EXPECT_EQ(s.px(14, 5), 0x00FF8800u);
  EXPECT_EQ(s.depth(11, 5), 4.0f);
}

// The line written out plainly: every point stepped and rounded, off the frame or not.
void plainLine(Scene& s, float xs, float ys, float zs, float xe, float ye, float ze) {
  const float izs = 1.0f / zs, ize = 1.0f / ze;
  const float dx = xe - xs, dy = ye - ys;
  if (!(std::fabs(dx) < 1073741824.0f && std::fabs(dy) < 1073741824.0f)) return;
  const long n = std::max(std::lrint(std::fabs(dx)), std::lrint(std::fabs(dy)));
  if (n == 0) return;
  const float fn = static_cast<float>(n);
  const float sx = dx / fn, sy = dy / fn, siz = (ize - izs) / fn;
  float x = xs, y = ys, iz = izs;
  for (long k = 0; k <= n; ++k, x = x + sx, y = y + sy, iz = iz + siz) {
    if (!(std::fabs(x) < 1073741824.0f && std::fabs(y) < 1073741824.0f)) continue;
    const long px = std::lrint(x), py = std::lrint(y);
    if (px < 0 || px >= s.rb.renderWidth || py < 0 || py >= s.rb.renderHeight) continue;
    const float z = 1.0f / iz;
    if (z < s.depth(static_cast<int>(px), static_cast<int>(py))) {
      s.px(static_cast<int>(px), static_cast<int>(py)) = s.rb.drawColor;
      s.depth(static_cast<int>(px), static_cast<int>(py)) = z;
    }
  }
}

TEST(OverlayLine, LongLinesFarOffTheFrameMatchThePlainSteps) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> near(-20.0f, 80.0f), depth(0.5f, 50.0f);
  std::uniform_real_distribution<float> far(-3.0e6f, 3.0e6f);
  Scene fast(64, 48), plain(64, 48);
  for (int i = 0; i < 300; ++i) {
    // One end near the frame and one far off, both far off, or (rarely) both near.
    const float x0 = i % 3 == 2 ? far(rng) : near(rng), y0 = i % 3 == 2 ? far(rng) : near(rng);
    const float x1 = i % 7 == 0 ? near(rng) : far(rng), y1 = i % 5 == 0 ? near(rng) : far(rng);
    const float z0 = depth(rng), z1 = depth(rng);
    fast.rb.drawColor = plain.rb.drawColor = static_cast<uint32_t>(i);
    drawLine3D(fast.rb, x0, y0, z0, x1, y1, z1);
    plainLine(plain, x0, y0, z0, x1, y1, z1);
  }
  EXPECT_EQ(fast.rb.frameBuffer, plain.rb.frameBuffer);
  EXPECT_EQ(0, std::memcmp(fast.rb.depthBuffer.data(), plain.rb.depthBuffer.data(),
                           fast.rb.depthBuffer.size() * sizeof(float)));
  EXPECT_GT(plain.coveredCount(), 500);
}

TEST(OverlayLine, EndsWithinHalfAPixelDrawNothing) {
  Scene s;
  s.rb.drawColor = 0x00FFFFFF;
  drawLine3D(s.rb, 5.2f, 5.1f, 4.0f, 5.4f, 5.4f, 4.0f);
  drawLine3D(s.rb, 7.0f, 3.0f, 4.0f, 7.0f, 3.0f, 9.0f);
  EXPECT_EQ(s.coveredCount(), 0);
}

TEST(OverlayLine, IsDepthTestedAndClippedToTheFrame) {
  Scene s;
  s.tri({0, 0, 4}, {15, 0, 4}, {0, 3, 4});
  drawTriangles(s.rb, s.m, s.c, viewOptionsFrom(0), false);
  const uint32_t face = s.px(1, 1);
  s.rb.drawColor = 0x00FF8800;
  drawLine3D(s.rb, -5.0f, 1.0f, 8.0f, 30.0f, 1.0f, 8.0f);  // behind the face on row 1
  drawLine3D(s.rb, -5.0f, 6.0f, 2.0f, 30.0f, 6.0f, 2.0f);  // in the open on row 6
  EXPECT_EQ(s.px(1, 1), face);
  EXPECT_EQ(s.coveredColumns(6), "0..15");
  EXPECT_EQ(s.px(15, 6), 0x00FF8800u);
}

TEST(OverlayLine, ModelLinesSkipEndsInsideTheNearPlane) {
  Scene s;
  const int32_t a = s.vert(2, 2, 4), b = s.vert(10, 2, 4), c = s.vert(2, 8, 0.5f);
  s.m.lineVerts[0] = Line{a, b};
  s.m.lineVerts[1] = Line{a, c};
  s.m.lineCount = 2;
  s.c.viewCenterX = 1;  // lines are drawn at the view centre plus the projection
  drawLines(s.rb, s.m, s.c);
  EXPECT_EQ(s.coveredColumns(2), "3..11");
  EXPECT_EQ(s.coveredCount(), 9);
  EXPECT_EQ(s.px(3, 2), 0x00FF8800u);
}

TEST(OverlayVertices, HiddenVertexHasNoDotCornerVertexHasOne) {
  Scene s;
  const int32_t a = s.vert(1, 1, 4), b = s.vert(12, 1, 4), c = s.vert(1, 9, 4);
  s.tri(a, b, c);
  const int32_t hidden = s.vert(3, 3, 8);
  const int32_t open = s.vert(12, 9, 8);
  const int32_t behindCamera = s.vert(14, 10, 0.5f);
  drawTriangles(s.rb, s.m, s.c, viewOptionsFrom(0), false);
  const uint32_t face = s.px(3, 3);
  drawVertices(s.rb, s.m, s.c);
  EXPECT_EQ(s.px(3, 3), face) << hidden;
  EXPECT_EQ(s.px(1, 1), 0x00FFFFFFu);   // a corner: equal depth shows the dot
  EXPECT_EQ(s.px(12, 1), 0x00FFFFFFu);  // the far right corner of the top span
  EXPECT_EQ(s.px(12, 9), 0x00FFFFFFu) << open;
  EXPECT_EQ(s.px(14, 10), 0u) << behindCamera;
}

TEST(OverlayGrid, TopViewDrawsBothColoursAtOnePixelPerUnit) {
  Scene s(256, 256);
  setViewPreset(s.c, ViewPreset::Top);
  s.c.cameraDistance = 400.0f;
  s.c.cameraZoom = 400.0f;
  s.c.viewCenterX = 128;
  s.c.viewCenterY = 128;
  computeCameraTrig(s.c);
  drawGrid(s.rb, s.c);
  EXPECT_EQ(s.px(128 + 25, 128 + 10), 0x00FFFF00u);  // x = 25, y = -10
  EXPECT_EQ(s.px(128 - 10, 128 - 50), 0x0000FFFFu);  // x = -10, y = 50
  EXPECT_EQ(s.px(128 + 12, 128 + 12), 0u);           // between the lines
  EXPECT_EQ(s.px(128 + 110, 128), 0u);               // beyond the square
}

TEST(OverlayGrid, SegmentsWithAnEndInsideTheNearPlaneVanishWhole) {
  Scene s(256, 256);
  setViewPreset(s.c, ViewPreset::Front);
  s.c.cameraDistance = 50.0f;  // the grid's near edge y = -100 lies behind the camera
  s.c.cameraZoom = 100.0f;
  s.c.viewCenterX = 128;
  s.c.viewCenterY = 128;
  computeCameraTrig(s.c);
  drawGrid(s.rb, s.c);
  int yellow = 0, cyan = 0;
  for (uint32_t p : s.rb.frameBuffer) yellow += p == 0x00FFFF00u, cyan += p == 0x0000FFFFu;
  EXPECT_EQ(yellow, 0);  // every line of constant x runs through y = -100
  EXPECT_GT(cyan, 100);  // lines of constant y from -25 on stay in front
}

// ---- marking mode through the selection rectangle ----

struct BoxScene : Scene {
  BoxScene() : Scene(40, 30) {}
  // One large face over the whole frame at depth 4, and a smaller one behind it at depth 9.
  void frontAndBack() {
    tri({-10, -10, 4}, {60, -10, 4}, {-10, 60, 4});
    tri({5, 5, 9}, {20, 5, 9}, {5, 20, 9});
  }
  bool selected(int32_t t) const { return (m.triFlags[t] & kSelectedBit) != 0; }
};

TEST(BoxSelect, SmallBoxInsideALargeFaceNeedsVisibleParts) {
  BoxScene off, on;
  off.frontAndBack();
  on.frontAndBack();
  selectRectangle(off.rb, off.m, off.c, viewOptionsFrom(0), kFar, 30, 20, 25, 16);
  selectRectangle(on.rb, on.m, on.c, viewOptionsFrom(kOnlySelectVisible), kFar, 30, 20, 25, 16);
  EXPECT_FALSE(off.selected(0));  // both span ends lie outside the box on every row
  EXPECT_TRUE(on.selected(0));
  EXPECT_FALSE(on.selected(1));
  for (const BoxScene* s : {&off, &on}) {  // the clip rectangle is the whole frame again
    EXPECT_EQ(s->rb.clipMinX, 0);
    EXPECT_EQ(s->rb.clipMinY, 0);
    EXPECT_EQ(s->rb.clipMaxX, 39);
    EXPECT_EQ(s->rb.clipMaxY, 29);
  }
}

TEST(BoxSelect, SpanEndsMarkHiddenFacesUnlessOnlyVisibleParts) {
  BoxScene off, on;
  off.frontAndBack();
  on.frontAndBack();
  // Around the hidden face's right edge (x = 20 on row 5 down to x = 5 on row 20).
  selectRectangle(off.rb, off.m, off.c, viewOptionsFrom(0), kFar, 10, 8, 16, 12);
  selectRectangle(on.rb, on.m, on.c, viewOptionsFrom(kOnlySelectVisible), kFar, 10, 8, 16, 12);
  EXPECT_FALSE(off.selected(0));
  EXPECT_TRUE(off.selected(1));
  EXPECT_TRUE(on.selected(0));
  EXPECT_FALSE(on.selected(1));
}

TEST(BoxSelect, UnselectClearsAndOthersKeepTheirBit) {
  BoxScene s;
  s.frontAndBack();
  s.tri({30, 25, 4}, {35, 25, 4}, {30, 28, 4});
  for (int t = 0; t < 3; ++t) s.m.triFlags[t] = kSelectedBit | 5;
  selectRectangle(s.rb, s.m, s.c, viewOptionsFrom(kOnlySelectVisible | kUnselect), kFar, 2, 2, 3,
                  3);
  EXPECT_EQ(s.m.triFlags[0], 5);  // the group bits stay
  EXPECT_TRUE(s.selected(1));
  EXPECT_TRUE(s.selected(2));
  selectRectangle(s.rb, s.m, s.c, viewOptionsFrom(kUnselect), kFar, 8, 8, 16, 12);
  EXPECT_FALSE(s.selected(1));
  EXPECT_TRUE(s.selected(2));
}

TEST(BoxSelect, WireframeMarksNothingBySpanEnds) {
  BoxScene s;
  s.frontAndBack();
  selectRectangle(s.rb, s.m, s.c, viewOptionsFrom(kWireframe), kFar, 0, 0, 39, 29);
  EXPECT_FALSE(s.selected(0));
  EXPECT_FALSE(s.selected(1));
  BoxScene visible;  // with visible parts the edges' own pixels count
  visible.frontAndBack();
  selectRectangle(visible.rb, visible.m, visible.c,
                  viewOptionsFrom(kWireframe | kOnlySelectVisible), kFar, 0, 0, 39, 29);
  EXPECT_TRUE(visible.selected(1));
}

TEST(BoxSelect, BackgroundOnlyAndMarkingIgnoresCulling) {
  BoxScene s;
  s.tri({5, 5, 4}, {20, 5, 4}, {5, 20, 4}, {0.0f, 0.0f, 1.0f});  // facing away
  selectRectangle(s.rb, s.m, s.c, viewOptionsFrom(kBackfaceCulling | kOnlySelectVisible), kFar, 30,
                  25, 35, 28);
  EXPECT_FALSE(s.selected(0));
  selectRectangle(s.rb, s.m, s.c, viewOptionsFrom(kBackfaceCulling | kOnlySelectVisible), kFar, 6,
                  6, 7, 7);
  EXPECT_TRUE(s.selected(0));
}

}  // namespace
