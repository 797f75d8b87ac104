// The filled pass split between threads draws the frame of the single-threaded pass, bit for
// bit: many random overlapping triangles (small, large, far off the frame, equal depths), with
// and without culling, inside a clip box or not, for several thread counts. The projection
// split between threads gives the single sweep's projections, vertex table and frame.
#include "render/render_threads.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "core/editor.h"
#include "core/view_options.h"
#include "render/camera_ops.h"
#include "render_scene.h"

namespace {

struct Frame {
  std::vector<uint32_t> pixels;
  std::vector<uint32_t> depthBits;
};

Frame drawWithThreads(int threads, unsigned seed, uint32_t viewFlags, bool clipBox) {
  setRenderThreadCount(threads);
  Scene s(160, 200);
  // Enough triangles that each of five threads gets a run of its own.
  EXPECT_EQ(allocateModel(s.m, 64000, 21000, 10), "");
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> nearFrame(-40.0f, 240.0f), far(-5.0e5f, 5.0e5f);
  std::uniform_real_distribution<float> depth(0.5f, 60.0f), size(0.3f, 12.0f), unit(-1.0f, 1.0f);
  for (int i = 0; i < 21000; ++i) {
    const float x = nearFrame(rng), y = nearFrame(rng), r = i % 9 == 0 ? 80.0f : size(rng);
    Vec3 a{x, y, depth(rng)}, b{x + r * unit(rng), y + r * unit(rng), depth(rng)},
        c{x + r * unit(rng), y + r * unit(rng), depth(rng)};
    if (i % 31 == 0) c = Vec3{far(rng), far(rng), depth(rng)};
    if (i % 4 == 0) a.z = b.z = c.z = 10.0f;  // equal depths: the first drawn must win
    const Vec3 normal{unit(rng), unit(rng), unit(rng)};
    s.tri(a, b, c, normal, static_cast<uint16_t>(rng()));
    if (i % 5 == 0) s.m.triFlags[static_cast<size_t>(i)] = kSelectedBit;
  }
  if (clipBox) {
    s.rb.clipMinX = 13, s.rb.clipMinY = 21, s.rb.clipMaxX = 140, s.rb.clipMaxY = 170;
  }
  drawTriangles(s.rb, s.m, s.c, viewOptionsFrom(viewFlags), false);
  Frame f{s.rb.frameBuffer, std::vector<uint32_t>(s.rb.depthBuffer.size())};
  std::memcpy(f.depthBits.data(), s.rb.depthBuffer.data(), f.depthBits.size() * 4);
  return f;
}

TEST(RenderThreads, SplitFramesMatchTheSingleThreadedFrame) {
  const int before = renderThreadCount();
  for (unsigned seed = 1; seed <= 3; ++seed)
    for (uint32_t flags : {0u, kBackfaceCulling | kModelColors})
      for (bool clipBox : {false, true}) {
        const Frame one = drawWithThreads(1, seed, flags, clipBox);
        for (int threads : {2, 3, 5}) {
          const Frame split = drawWithThreads(threads, seed, flags, clipBox);
          EXPECT_EQ(split.pixels, one.pixels) << "seed " << seed << ", " << threads << " threads";
          EXPECT_EQ(split.depthBits, one.depthBits) << "seed " << seed;
        }
      }
  setRenderThreadCount(before);
}

// Bits of the projection, the vertex table and the frame after a whole projected render.
std::vector<uint32_t> projectedRender(int threads, uint32_t viewFlags) {
  setRenderThreadCount(threads);
  Scene s(120, 90);
  // An odd count of vertices, enough for five runs; some behind the near plane, some far out.
  constexpr int32_t kVerts = 5 * 16384 + 3;
  EXPECT_EQ(allocateModel(s.m, kVerts, kVerts, 10), "");
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> near(-30.0f, 30.0f), far(-1.0e9f, 1.0e9f);
  for (int32_t v = 0; v < kVerts; ++v)
    s.m.vertexPos[v] = v % 97 == 0 ? Vec3{far(rng), far(rng), near(rng)}
                                   : Vec3{near(rng), near(rng), near(rng) * 0.2f};
  s.m.vertexCount = kVerts;
  for (int32_t t = 0; t + 2 < kVerts; t += 3) s.tri(t, t + 1, (t * 7919 + 2) % kVerts);
  s.c.cameraDistance = 40.0f, s.c.cameraZoom = 90.0f, s.c.cameraXY = 0.7f, s.c.cameraYZ = 0.4f;
  s.c.viewCenterX = 60, s.c.viewCenterY = 45;
  computeCameraTrig(s.c);
  const ViewOptions view = viewOptionsFrom(viewFlags);
  projectAndDrawTriangles(s.rb, s.m, s.c, view);
  const size_t n = static_cast<size_t>(kVerts), frame = s.rb.frameBuffer.size();
  std::vector<uint32_t> bits(7 * n + frame);
  std::memcpy(bits.data(), s.m.vertexProj.data(), 12 * n);
  if (!view.wireframe) std::memcpy(bits.data() + 3 * n, s.rb.screenVertices.data(), 16 * n);
  std::memcpy(bits.data() + 7 * n, s.rb.frameBuffer.data(), 4 * frame);
  return bits;
}

TEST(RenderThreads, SplitProjectionMatchesTheSingleSweep) {
  const int before = renderThreadCount();
  for (uint32_t flags : {0u, uint32_t{kBackfaceCulling}, uint32_t{kWireframe}}) {
    const std::vector<uint32_t> one = projectedRender(1, flags);
    for (int threads : {2, 5})
      EXPECT_TRUE(projectedRender(threads, flags) == one) << threads << " threads, " << flags;
  }
  setRenderThreadCount(before);
}

}  // namespace
