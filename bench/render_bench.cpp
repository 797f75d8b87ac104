// One full render of a million-triangle closed sphere at 800 x 600: normals, projection,
// clear, grid, triangles, lines and the present to a 32-bit screen, at detail 1 and 2.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/editor.h"
#include "model/model.h"
#include "render/camera_ops.h"
#include "render/render_passes.h"

namespace {

constexpr int kSlices = 1000;
constexpr int kStacks = 501;  // 2 * slices * (stacks - 1) = 1,000,000 triangles
constexpr float kRadius = 100.0f;
constexpr float kFarDepth = 1000000.0f;

// A closed UV sphere with its faces turned outwards.
void buildSphere(Model& m) {
  m.vertexCount = 0;
  m.triangleCount = 0;
  const float pi = 3.14159265f;
  m.vertexPos[m.vertexCount++] = {0.0f, 0.0f, kRadius};  // north pole
  for (int i = 1; i < kStacks; ++i) {
    const float theta = pi * static_cast<float>(i) / static_cast<float>(kStacks);
    for (int j = 0; j < kSlices; ++j) {
      const float phi = 2.0f * pi * static_cast<float>(j) / static_cast<float>(kSlices);
      m.vertexPos[m.vertexCount++] = {kRadius * std::sin(theta) * std::cos(phi),
                                      kRadius * std::sin(theta) * std::sin(phi),
                                      kRadius * std::cos(theta)};
    }
  }
  const int32_t south = m.vertexCount++;
  m.vertexPos[south] = {0.0f, 0.0f, -kRadius};
  auto ring = [](int i, int j) { return 1 + (i - 1) * kSlices + (j % kSlices); };
  auto add = [&m](int32_t a, int32_t b, int32_t c) {
    m.triVerts[m.triangleCount] = Tri{a, b, c};
    m.triColor[m.triangleCount] = colorWord(20, 24, 28);
    m.triFlags[m.triangleCount++] = 0;
  };
  for (int j = 0; j < kSlices; ++j) add(0, ring(1, j), ring(1, j + 1));
  for (int i = 1; i < kStacks - 1; ++i)
    for (int j = 0; j < kSlices; ++j) {
      add(ring(i, j), ring(i + 1, j), ring(i + 1, j + 1));
      add(ring(i, j), ring(i + 1, j + 1), ring(i, j + 1));
    }
  for (int j = 0; j < kSlices; ++j) add(south, ring(kStacks - 1, j + 1), ring(kStacks - 1, j));
  // The equator as a square of model lines.
  m.lineCount = 0;
  for (int k = 0; k < 4; ++k)
    m.lineVerts[m.lineCount++] =
        Line{ring(kStacks / 2, k * kSlices / 4), ring(kStacks / 2, (k + 1) * kSlices / 4)};
}

void renderFrame(benchmark::State& state) {
  const int rdet = static_cast<int>(state.range(0));
  const int screenW = 800, screenH = 600;
  Model m;
  if (!allocateModel(m, 600000, 1000000, 100).empty()) {
    state.SkipWithError("model allocation failed");
    return;
  }
  buildSphere(m);
  RenderBuffers rb;
  allocateRenderBuffers(rb, screenW, screenH, rdet);
  Camera c;
  c.cameraZoom = static_cast<float>(rb.renderWidth >> 1);
  c.viewCenterX = rb.renderWidth >> 1;
  c.viewCenterY = (rb.renderHeight >> 1) + (rb.renderHeight >> 3);
  std::vector<uint8_t> screen(static_cast<size_t>(screenW) * screenH * 4);
  const uint32_t flags = kShowTris | kShowLines | kShowGrid | kBackfaceCulling;
  for (auto _ : state) {
    recomputeNormals(m);
    computeCameraTrig(c);
    clearRenderBuffers(rb, kFarDepth);
    projectVertices(m, c);
    drawGrid(rb, c);
    drawTriangles(rb, m, c, flags, false);
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
}

}  // namespace

BENCHMARK(renderFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();
