// Shapes that reach far off the frame: triangles with a corner `distance` pixels away,
// and one line from the frame's middle that far out. Their cost should follow the part on
// the frame, not the distance.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench_setup.h"
#include "core/editor.h"
#include "core/view_options.h"
#include "render/overlays.h"
#include "render/render_passes.h"

namespace {

constexpr float kFarDepth = 1000000.0f;

struct FarScene {
  Model m;
  RenderBuffers rb;
  Camera c;
  FarScene() {
    allocateModel(m, 16, 16, 16);
    allocateRenderBuffers(rb, 800, 600, 1, 16);
    c.viewCenterX = 0;
    c.viewCenterY = 0;
    c.cosXY = 1.0f, c.sinXY = 0.0f, c.cosYZ = 1.0f, c.sinYZ = 0.0f;
  }
};

void farTriangle(benchmark::State& state) {
  const float d = static_cast<float>(state.range(0));
  FarScene s;
  // Two triangles with two corners on the frame each: one reaching far to the left (every
  // row's span starts far left of the frame), one far above (its rows start far above it).
  const Vec3 corners[6] = {{-d, 100.0f, 9.0f}, {700.0f, 50.0f, 5.0f},  {650.0f, 500.0f, 7.0f},
                           {300.0f, -d, 9.0f}, {100.0f, 550.0f, 5.0f}, {500.0f, 560.0f, 7.0f}};
  for (int v = 0; v < 6; ++v) s.m.vertexProj[v] = corners[v];
  s.m.vertexCount = 6;
  for (int t = 0; t < 2; ++t) {
    s.m.triVerts[t] = Tri{3 * t, 3 * t + 1, 3 * t + 2};
    s.m.triNormal[t] = Vec3{0.0f, 0.0f, -1.0f};
  }
  s.m.triangleCount = 2;
  for (auto _ : state) {
    clearRenderBuffers(s.rb, kFarDepth);
    drawTriangles(s.rb, s.m, s.c, viewOptionsFrom(kShowTris), false);
    benchmark::ClobberMemory();
  }
  state.counters["frame#"] = checksum(s.rb.frameBuffer.data(), s.rb.frameBuffer.size() * 4);
  state.counters["depth#"] = checksum(s.rb.depthBuffer.data(), s.rb.depthBuffer.size() * 4);
}

void farLine(benchmark::State& state) {
  const float d = static_cast<float>(state.range(0));
  FarScene s;
  for (auto _ : state) {
    clearRenderBuffers(s.rb, kFarDepth);
    s.rb.drawColor = 0x00FF8800;
    drawLine3D(s.rb, 400.0f, 300.0f, 5.0f, 400.0f - d, 300.0f + d * 0.25f, 50.0f);
    drawLine3D(s.rb, -d, 100.0f, 5.0f, d, 500.0f, 9.0f);  // both ends far out
    benchmark::ClobberMemory();
  }
  state.counters["frame#"] = checksum(s.rb.frameBuffer.data(), s.rb.frameBuffer.size() * 4);
  state.counters["depth#"] = checksum(s.rb.depthBuffer.data(), s.rb.depthBuffer.size() * 4);
}

}  // namespace

BENCHMARK(farTriangle)
    ->ArgName("distance")
    ->Arg(1000)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(farLine)
    ->ArgName("distance")
    ->Arg(1000)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond);
