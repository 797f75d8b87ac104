// One full render of the million-triangle torus: projection, clear, grid, triangles, lines
// and the present to a 32-bit screen (normals are computed once, outside the timing).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench_setup.h"
#include "core/editor.h"
#include "core/view_options.h"
#include "render/camera_ops.h"
#include "render/render_passes.h"

namespace {

constexpr float kFarDepth = 1000000.0f;

// Arguments: detail level, culling on (1) or off (0), close-up (1: the model fills the frame).
void renderFrame(benchmark::State& state) {
  const int rdet = static_cast<int>(state.range(0));
  const bool cull = state.range(1) != 0;
  const bool closeUp = state.range(2) != 0;
  const int screenW = 800, screenH = 600;
  Model& m = benchTorus();
  recomputeNormals(m);
  RenderBuffers rb;
  allocateRenderBuffers(rb, screenW, screenH, rdet);
  Camera c = benchCamera(rb);
  if (closeUp) c.cameraZoom = c.cameraZoom * 4.0f;
  std::vector<uint8_t> screen(static_cast<size_t>(screenW) * screenH * 4);
  uint32_t flags = kShowTris | kShowLines | kShowGrid;
  if (cull) flags |= kBackfaceCulling;
  for (auto _ : state) {
    computeCameraTrig(c);
    clearRenderBuffers(rb, kFarDepth);
    drawGrid(rb, c);
    projectAndDrawTriangles(rb, m, c, viewOptionsFrom(flags));
    drawLines(rb, m, c);
    presentFrame(rb, rdet, 32, screen.data(), screenW * 4, screenW, screenH);
    benchmark::DoNotOptimize(screen.data());
    benchmark::ClobberMemory();
  }
  state.counters["triangles"] = m.triangleCount;
  int64_t covered = 0;
  for (uint32_t p : rb.frameBuffer) covered += p != 0;
  state.counters["covered%"] =
      100.0 * static_cast<double>(covered) / static_cast<double>(rb.frameBuffer.size());
  state.counters["screen#"] = checksum(screen.data(), screen.size());
  state.counters["depth#"] = checksum(rb.depthBuffer.data(), rb.depthBuffer.size() * 4);
}

void clearFrame(benchmark::State& state) {
  RenderBuffers rb;
  allocateRenderBuffers(rb, 800, 600, 1);
  for (auto _ : state) {
    clearRenderBuffers(rb, kFarDepth);
    benchmark::DoNotOptimize(rb.frameBuffer.data());
    benchmark::DoNotOptimize(rb.depthBuffer.data());
    benchmark::ClobberMemory();
  }
}

void projectOnly(benchmark::State& state) {
  Model& m = benchTorus();
  RenderBuffers rb;
  allocateRenderBuffers(rb, 800, 600, 1);
  Camera c = benchCamera(rb);
  computeCameraTrig(c);
  for (auto _ : state) {
    projectVertices(m, c);
    benchmark::ClobberMemory();
  }
}

void trianglesOnly(benchmark::State& state) {
  const bool cull = state.range(0) != 0;
  Model& m = benchTorus();
  recomputeNormals(m);
  RenderBuffers rb;
  allocateRenderBuffers(rb, 800, 600, 1);
  Camera c = benchCamera(rb);
  computeCameraTrig(c);
  projectVertices(m, c);
  const uint32_t flags = kShowTris | (cull ? kBackfaceCulling : 0u);
  for (auto _ : state) {
    state.PauseTiming();
    clearRenderBuffers(rb, kFarDepth);
    state.ResumeTiming();
    drawTriangles(rb, m, c, viewOptionsFrom(flags), false);
    benchmark::ClobberMemory();
  }
}

}  // namespace

BENCHMARK(renderFrame)
    ->ArgNames({"rdet", "cull", "closeup"})
    ->Args({1, 1, 0})
    ->Args({1, 0, 0})
    ->Args({2, 1, 0})
    ->Args({2, 0, 0})
    ->Args({1, 1, 1})
    ->Args({1, 0, 1})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);
BENCHMARK(clearFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(projectOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(trianglesOnly)->ArgName("cull")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
