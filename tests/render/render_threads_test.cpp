// The filled pass split between threads draws the frame of the single-threaded pass, bit for
// bit: many random overlapping triangles (small, large, far off the frame, equal depths), with
// and without culling, inside a clip box or not, for several thread counts.
#include "render/render_threads.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "core/editor.h"
#include "core/view_options.h"
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

}  // namespace
