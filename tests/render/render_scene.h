// A small frame with a model whose projections are set by hand (view centre at 0, camera
// rotation the identity, so a normal's z is what the triangle pass sees as nz).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "model/model.h"
#include "render/camera.h"
#include "render/render_buffers.h"
#include "render/render_passes.h"

constexpr float kFar = 1000000.0f;

struct Scene {
  Model m;
  RenderBuffers rb;
  Camera c;

  explicit Scene(int w = 16, int h = 12) {
    EXPECT_EQ(allocateModel(m, 1000, 1000, 100), "");
    EXPECT_TRUE(allocateRenderBuffers(rb, w, h, 1));
    c.viewCenterX = 0;
    c.viewCenterY = 0;
    c.cosXY = 1.0f, c.sinXY = 0.0f, c.cosYZ = 1.0f, c.sinYZ = 0.0f;
    clearRenderBuffers(rb, kFar);
  }
  // A vertex already projected: frame x, y relative to the view centre, and depth.
  int32_t vert(float x, float y, float depth) {
    m.vertexProj[m.vertexCount] = Vec3{x, y, depth};
    return m.vertexCount++;
  }
  // A triangle facing the camera squarely unless another normal is given.
  int32_t tri(int32_t a, int32_t b, int32_t c, Vec3 normal = {0.0f, 0.0f, -1.0f},
              uint16_t color = 0) {
    const int32_t t = m.triangleCount++;
    m.triVerts[t] = Tri{a, b, c};
    m.triNormal[t] = normal;
    m.triColor[t] = color;
    m.triFlags[t] = 0;
    return t;
  }
  int32_t tri(Vec3 a, Vec3 b, Vec3 c, Vec3 normal = {0.0f, 0.0f, -1.0f}, uint16_t color = 0) {
    const int32_t ia = vert(a.x, a.y, a.z), ib = vert(b.x, b.y, b.z), ic = vert(c.x, c.y, c.z);
    return tri(ia, ib, ic, normal, color);
  }
  uint32_t& px(int x, int y) { return rb.frameBuffer[static_cast<size_t>(y) * rb.renderWidth + x]; }
  float& depth(int x, int y) { return rb.depthBuffer[static_cast<size_t>(y) * rb.renderWidth + x]; }
  // Columns of row y whose pixel differs from `background`, as "a..b" runs ("1..3,5").
  std::string coveredColumns(int y, uint32_t background = 0) {
    std::string out;
    int start = -1;
    for (int x = 0; x <= rb.renderWidth; ++x) {
      const bool on = x < rb.renderWidth && px(x, y) != background;
      if (on && start < 0) start = x;
      if (!on && start >= 0) {
        if (!out.empty()) out += ",";
        out += start == x - 1 ? std::to_string(start)
                              : std::to_string(start) + ".." + std::to_string(x - 1);
        start = -1;
      }
    }
    return out;
  }
  int coveredCount(uint32_t background = 0) {
    int n = 0;
    for (uint32_t p : rb.frameBuffer) n += p != background;
    return n;
  }
};
