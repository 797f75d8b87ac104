// Fit view: whatever the model's size and place, its box ends up centred and filling most of
// the frame, seen at the same angles.
#include "render/fit_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "render/camera_ops.h"
#include "support/editor_fixture.h"
#include "support/small_models.h"

TEST(FitView, CentresAndFillsTheFrameForAnySizeAndPlace) {
  struct Place {
    float x, y, z, size;
  };
  const Place places[] = {{0, 0, 0, 20},          {1000, -400, 30, 2}, {0, 0, 0, 0.002f},
                          {-5e4f, 2e4f, 0, 3e3f}, {3, 3, -200, 1000},  {0, 0, 0, 0}};
  const float angles[][2] = {{0, 4.0f}, {1.2f, 3 * kPi / 2}, {5.5f, kPi}, {0.3f, 0.2f}};
  for (const Place& p : places) {
    for (const auto& a : angles) {
      Model m = makeEmptyModel();
      addCube(m, p.x, p.y, p.z, p.size, 0);
      Camera c;
      c.cameraXY = a[0];
      c.cameraYZ = a[1];
      const int w = 640, h = 480;
      const float far = fitView(c, m, w, h);
      EXPECT_EQ(c.cameraXY, a[0]);
      EXPECT_EQ(c.cameraYZ, a[1]);
      computeCameraTrig(c);
      projectVertices(m, c);
      float lo[2] = {1e30f, 1e30f}, hi[2] = {-1e30f, -1e30f};
      for (int32_t v = 0; v < m.vertexCount; ++v) {
        const Vec3 q = m.vertexProj[v];
        ASSERT_GE(q.z, 1.0f);
        ASSERT_LE(q.z, far * 1.001f);
        const float sx = q.x + static_cast<float>(c.viewCenterX);
        const float sy = q.y + static_cast<float>(c.viewCenterY);
        lo[0] = std::min(lo[0], sx), hi[0] = std::max(hi[0], sx);
        lo[1] = std::min(lo[1], sy), hi[1] = std::max(hi[1], sy);
      }
      const std::string where = std::to_string(p.x) + " size " + std::to_string(p.size);
      EXPECT_GE(lo[0], 0.0f) << where;
      EXPECT_GE(lo[1], 0.0f) << where;
      EXPECT_LE(hi[0], w - 1.0f) << where;
      EXPECT_LE(hi[1], h - 1.0f) << where;
      EXPECT_NEAR(0.5f * (lo[0] + hi[0]), w / 2.0f, 2.0f) << where;
      EXPECT_NEAR(0.5f * (lo[1] + hi[1]), h / 2.0f, 2.0f) << where;
      if (p.size > 0) {
        EXPECT_TRUE(hi[0] - lo[0] > 0.8f * w || hi[1] - lo[1] > 0.8f * h) << where;
      }
    }
  }
  Model empty = makeEmptyModel();
  Camera c;
  EXPECT_EQ(fitView(c, empty, 640, 480), 0.0f);
  EXPECT_EQ(c.cameraDistance, 250.0f);
}

class FitViewKey : public EditorFixture {};

// A model from another program, far from the origin, opened from the command line: out of
// sight at first, "f" brings it into the middle of the frame; with the menu bar focused,
// "f" leaves the camera alone.
TEST_F(FitViewKey, BringsAFarModelIntoViewWhileNoMenuHasTheFocus) {
  std::ofstream("far.obj") << "v 9000 4000 0\nv 9010 4000 0\nv 9010 4010 0\nv 9000 4010 5\n"
                              "f 1 2 3\nf 1 3 4\nf 4 3 2 1\n";
  start("far.obj");
  run(1);
  ASSERT_EQ(ed().model.triangleCount, 4);
  const auto litNearCentre = [&] {
    const RenderBuffers& rb = ed().render;
    int lit = 0;
    for (int y = rb.renderHeight / 4; y < 3 * rb.renderHeight / 4; ++y)
      for (int x = rb.renderWidth / 4; x < 3 * rb.renderWidth / 4; ++x)
        lit += rb.frameBuffer[static_cast<size_t>(y) * rb.renderWidth + x] != 0;
    return lit;
  };
  ed().viewFlags &= ~static_cast<uint32_t>(kShowGrid);
  ed().requests.needRender = 1;
  run(1);
  EXPECT_EQ(litNearCentre(), 0);
  platform_.pushKey("f");
  run(2);
  EXPECT_GT(litNearCentre(), ed().render.renderWidth * ed().render.renderHeight / 8);
  const Camera fitted = ed().camera;
  ed().camera.cameraDistance = 250.0f;
  platform_.setKeyHeld(kScanAlt, true);  // the menu bar takes the focus
  run(1);
  platform_.setKeyHeld(kScanAlt, false);
  run(1);
  ASSERT_EQ(ed().menus.activeMenu, 0);
  platform_.pushKey("f");
  run(2);
  EXPECT_EQ(ed().camera.cameraDistance, 250.0f);
  EXPECT_NE(fitted.cameraDistance, 250.0f);
}
