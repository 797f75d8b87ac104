// Camera: projection, normalisation of the angles, presets, drags, unprojection, picking.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "core/view_options.h"
#include "render/camera_ops.h"
#include "render_scene.h"

namespace {

int32_t degrees(float angle) {
  return static_cast<int32_t>(std::nearbyint(180.0f * angle / kPi));
}

Camera startCamera() {  // 800 x 600 at detail level 1
  Camera c;
  c.cameraZoom = 400.0f;
  c.viewCenterX = 400;
  c.viewCenterY = 375;
  computeCameraTrig(c);
  return c;
}

TEST(CameraProjection, NearPlaneIsInclusiveAndNearerVerticesKeepStaleXY) {
  Model m;
  ASSERT_EQ(allocateModel(m, 8, 4, 1), "");
  Camera c;
  c.cameraXY = 0.0f, c.cameraYZ = 0.0f, c.cameraDistance = 0.0f, c.cameraZoom = 100.0f;
  computeCameraTrig(c);  // depth = z + D, X = x, Y = y
  // Vertices 0 .. 3 go through the four-at-a-time sweep, 4 and 5 one at a time.
  for (int32_t v = 0; v < 6; v += 2) {
    m.vertexPos[v] = {0.5f, -0.25f, 1.0f};
    m.vertexPos[v + 1] = {0.5f, -0.25f, 0.999f};
    m.vertexProj[v + 1] = {123.0f, 456.0f, 7.0f};
  }
  m.vertexCount = 6;
  for (bool withTable : {false, true}) {
    RenderBuffers rb;
    if (withTable)
      projectAndDrawTriangles(rb, m, c, viewOptionsFrom(0));
    else
      projectVertices(m, c);
    for (int32_t v = 0; v < 6; v += 2) {
      EXPECT_EQ(m.vertexProj[v].x, 50.0f) << v;
      EXPECT_EQ(m.vertexProj[v].y, -25.0f) << v;
      EXPECT_EQ(m.vertexProj[v].z, 1.0f) << v;
      EXPECT_EQ(m.vertexProj[v + 1].x, 123.0f) << v;
      EXPECT_EQ(m.vertexProj[v + 1].y, 456.0f) << v;
      EXPECT_EQ(m.vertexProj[v + 1].z, 0.999f) << v;  // the depth is always stored
    }
  }
}

// Every vertex of a model, whatever its place in the sweep (the sweep works on groups of
// four and then the rest), gets exactly the bits of the formulas evaluated one float step at
// a time; those nearer than the near plane keep their stale x and y wherever they stand. The
// render's projection, which fills the triangle pass's vertex table in the same sweep, stores
// the same bits.
TEST(CameraProjection, EveryVertexMatchesThePlainFormulasBitForBit) {
  for (int32_t count : {1, 3, 4, 5, 8, 1003})
    for (bool withTable : {false, true}) {
      Model m;
      ASSERT_EQ(allocateModel(m, 1100, 4, 1), "");
      Camera c = startCamera();
      c.cameraXY = 0.7f, c.cameraYZ = 3.9f, c.cameraDistance = 60.0f;
      computeCameraTrig(c);
      std::mt19937 rng(static_cast<unsigned>(count));
      std::uniform_real_distribution<float> coord(-90.0f, 90.0f);
      for (int32_t v = 0; v < count; ++v) {
        m.vertexPos[v] = {coord(rng), coord(rng), coord(rng)};
        m.vertexProj[v] = {-1.5f * static_cast<float>(v), 2.5f, 0.0f};  // stale values
      }
      m.vertexCount = count;
      RenderBuffers rb;  // no triangles: only the projection and the vertex table
      if (withTable)
        projectAndDrawTriangles(rb, m, c, viewOptionsFrom(0));
      else
        projectVertices(m, c);
      int nearer = 0;
      for (int32_t v = 0; v < count; ++v) {
        const Vec3 p = m.vertexPos[v];
        const float X = p.x * c.cosXY - p.y * c.sinXY;
        const float Y1 = p.x * c.sinXY + p.y * c.cosXY;
        const float depth = p.z * c.cosYZ - Y1 * c.sinYZ + c.cameraDistance;
        const float Y = Y1 * c.cosYZ + p.z * c.sinYZ;
        Vec3 want{-1.5f * static_cast<float>(v), 2.5f, depth};
        if (depth >= 1.0f)
          want.x = X * c.cameraZoom / depth, want.y = Y * c.cameraZoom / depth;
        else
          ++nearer;
        EXPECT_EQ(std::memcmp(&m.vertexProj[v], &want, sizeof(Vec3)), 0)
            << count << " vertex " << v << (withTable ? " with the table" : "");
      }
      if (count == 1003) {
        EXPECT_GT(nearer, 10);
      }
    }
}

TEST(CameraProjection, StartViewLooksDownOnTheOriginFromTheFront) {
  Model m;
  ASSERT_EQ(allocateModel(m, 4, 4, 1), "");
  m.vertexPos[0] = {0, 0, 0};
  m.vertexPos[1] = {0, 0, 20};
  m.vertexCount = 2;
  const Camera c = startCamera();
  projectVertices(m, c);
  EXPECT_EQ(m.vertexProj[0].x, 0.0f);
  EXPECT_EQ(m.vertexProj[0].z, 250.0f);
  EXPECT_LT(m.vertexProj[1].y, m.vertexProj[0].y);  // z up is screen up
  EXPECT_EQ(degrees(c.cameraYZ), 229);
}

TEST(CameraUpdate, AnglesWrapOnceAndZoomStopsAtOne) {
  Camera c = startCamera();
  CameraSnapshot snap = takeSnapshot(c);
  stepRotate(c, RotateDir::Left, false);
  EXPECT_TRUE(updateCamera(c, snap));
  EXPECT_NEAR(c.cameraXY, 2.0f * kPi - kPi / 90.0f, 1e-6f);
  EXPECT_EQ(degrees(c.cameraXY), 358);
  c.cameraXY = 2.0f * kPi + 0.25f;
  c.cameraYZ = -0.5f;
  updateCamera(c, snap);
  EXPECT_NEAR(c.cameraXY, 0.25f, 1e-6f);
  EXPECT_NEAR(c.cameraYZ, 2.0f * kPi - 0.5f, 1e-6f);
  c.cameraXY = 5.0f * kPi;  // one correction per call, not a loop
  updateCamera(c, snap);
  EXPECT_NEAR(c.cameraXY, 3.0f * kPi, 1e-5f);

  for (int i = 0; i < 100; ++i) scaleZoom(c, 0.9f), updateCamera(c, snap);
  EXPECT_EQ(c.cameraZoom, 1.0f);
  snap = takeSnapshot(c);
  scaleZoom(c, 0.9f);
  EXPECT_FALSE(updateCamera(c, snap));  // nothing changed: no render
  c.cameraXZ = 1.0f;                    // CXZ is not compared
  EXPECT_FALSE(updateCamera(c, snap));
  scaleDistance(c, 1.1f);
  EXPECT_TRUE(updateCamera(c, snap));
}

TEST(CameraUpdate, ShiftTakesTheLargeStep) {
  Camera c = startCamera();
  stepRotate(c, RotateDir::Right, true);
  EXPECT_EQ(c.cameraXY, kPi / 8.0f);
  stepRotate(c, RotateDir::Up, false);
  EXPECT_EQ(c.cameraYZ, 4.0f + kPi / 90.0f);
}

TEST(CameraPresets, ReadOutsShowQuarterTurns) {
  struct Expect {
    ViewPreset preset;
    int a, b;
  };
  for (const Expect e : {Expect{ViewPreset::Front, 0, 270}, Expect{ViewPreset::Back, 180, 270},
                         Expect{ViewPreset::Top, 0, 180}, Expect{ViewPreset::Bottom, 0, 0},
                         Expect{ViewPreset::Left, 90, 270}, Expect{ViewPreset::Right, 270, 270}}) {
    Camera c = startCamera();
    c.cameraXY = 1.0f;
    setViewPreset(c, e.preset);
    EXPECT_EQ(degrees(c.cameraXY), e.a);
    EXPECT_EQ(degrees(c.cameraYZ), e.b);
  }
}

TEST(CameraDrags, OrbitTurnsOnceAcrossTheFrameAndDollyUsesIntegerRise) {
  Camera c = startCamera();
  const CameraSnapshot snap = takeSnapshot(c);
  orbitDrag(c, snap, 800, 300, 0, 300, 800, 600);
  EXPECT_NEAR(c.cameraXY, 2.0f * kPi, 1e-6f);
  EXPECT_EQ(c.cameraYZ, 4.0f);
  dollyZoomDrag(c, snap, 410, 303, 400, 300, 600);
  EXPECT_EQ(c.cameraZoom, 410.0f);
  EXPECT_EQ(c.cameraDistance, 250.5f);  // 300 / 600
  pan(c, -7, 4);
  EXPECT_EQ(c.viewCenterX, 393);
  EXPECT_EQ(c.viewCenterY, 379);
}

TEST(CameraUnproject, BackgroundPixelLandsOnTheGround) {
  const Camera c = startCamera();
  Vec3 p{9, 9, 9};
  ASSERT_TRUE(unprojectPixel(c, kFar, 520, 450, kFar, p));
  EXPECT_EQ(p.z, 0.0f);
  // Projecting the point again gives the pixel back.
  const Vec3 r = rotatePoint(c, p);
  const float depth = r.z + c.cameraDistance;
  EXPECT_NEAR(r.x * c.cameraZoom / depth + 400.0f, 520.0f, 0.01f);
  EXPECT_NEAR(r.y * c.cameraZoom / depth + 375.0f, 450.0f, 0.01f);
}

TEST(CameraUnproject, SurfacePixelKeepsItsDepth) {
  const Camera c = startCamera();
  const Vec3 world{12.0f, -7.0f, 15.0f};
  const Vec3 r = rotatePoint(c, world);
  const float depth = r.z + c.cameraDistance;
  const float sx = r.x * c.cameraZoom / depth + 400.0f, sy = r.y * c.cameraZoom / depth + 375.0f;
  Vec3 p{};
  // Only whole pixels go in, so the point is found to within a pixel's width at that depth.
  ASSERT_TRUE(unprojectPixel(c, kFar, static_cast<int>(std::lrint(sx)),
                             static_cast<int>(std::lrint(sy)), depth, p));
  EXPECT_NEAR(p.x, world.x, 0.7f);
  EXPECT_NEAR(p.y, world.y, 0.7f);
  EXPECT_NEAR(p.z, world.z, 0.7f);
  EXPECT_NE(p.z, 0.0f);
}

TEST(CameraUnproject, RayAboveTheHorizonIsRefused) {
  Camera c = startCamera();
  c.cameraZoom = 100.0f;  // the horizon lies 86 pixels above the centre
  Vec3 p{1, 2, 3};
  EXPECT_FALSE(unprojectPixel(c, kFar, 400, 200, kFar, p));
  EXPECT_EQ(p.x, 1.0f);  // left as it was
  EXPECT_EQ(p.z, 3.0f);
  EXPECT_TRUE(unprojectPixel(c, kFar, 400, 300, kFar, p));
  Camera below = c;  // from below the ground the lower half of the view misses it
  below.cameraDistance = -50.0f;
  EXPECT_FALSE(unprojectPixel(below, kFar, 400, 500, kFar, p));
}

TEST(CameraPick, NearestWinsTiesKeepTheLowerIndexFarIsFiltered) {
  Scene s;
  s.c.viewCenterX = 100, s.c.viewCenterY = 100;
  s.vert(-10.0f, 0.0f, 5.0f);       // 0: distance 10 from (100, 100)
  s.vert(0.0f, 10.0f, 5.0f);        // 1: distance 10 as well
  s.vert(2.0f, 2.0f, kFar * 2.0f);  // 2: beyond drawdepth
  s.vert(1.0f, 1.0f, 0.5f);         // 3: inside the near plane
  EXPECT_EQ(pickNearestVertex(s.m, s.c, kFar, 100, 100, -1), 0);
  s.vert(6.4f, -6.4f, 5.0f);  // 4: rounds to (6, -6): 72 < 100
  EXPECT_EQ(pickNearestVertex(s.m, s.c, kFar, 100, 100, -1), 4);
  EXPECT_EQ(pickNearestVertex(s.m, s.c, kFar * 3.0f, 100, 100, -1), 2);
  Scene empty;
  EXPECT_EQ(pickNearestVertex(empty.m, empty.c, kFar, 0, 0, 7), 7);
  empty.vert(5000.0f, 0.0f, 5.0f);  // too far away to beat the starting distance
  EXPECT_EQ(pickNearestVertex(empty.m, empty.c, kFar, 0, 0, 7), 7);
}

}  // namespace
