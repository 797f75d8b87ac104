// A frame of the 10,000,000-triangle torus (maxv = 5,000,001, maxt = 10,000,000) at 800x600:
// projection, clear, triangles with culling and the present, as renderFrame does for 1M.
// Run with KOVRIN_THREADS=1 and without to compare one core with all.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench_setup.h"
#include "core/editor.h"
#include "core/view_options.h"
#include "render/camera_ops.h"
#include "render/render_passes.h"
#include "torus_mesh.h"

namespace {

Model& tenMillionTorus() {
  static Model* m = [] {
    auto* model = new Model;
    allocateModel(*model, 5000001, 10000000, 1000);
    buildTorus(*model, torusForFacets(10000000));
    recomputeNormals(*model);
    return model;
  }();
  return *m;
}

void renderTenMillion(benchmark::State& state) {
  Model& m = tenMillionTorus();
  RenderBuffers rb;
  allocateRenderBuffers(rb, 800, 600, 1, m.maxv);
  Camera c = benchCamera(rb);
  std::vector<uint8_t> screen(static_cast<size_t>(800) * 600 * 4);
  const uint32_t flags = kShowTris | kBackfaceCulling;
  for (auto _ : state) {
    computeCameraTrig(c);
    clearRenderBuffers(rb, 1000000.0f);
    projectAndDrawTriangles(rb, m, c, viewOptionsFrom(flags));
    presentFrame(rb, 1, 32, screen.data(), 800 * 4, 800, 600);
    benchmark::ClobberMemory();
  }
  state.counters["triangles"] = m.triangleCount;
  state.counters["screen#"] = checksum(screen.data(), screen.size());
  state.counters["depth#"] = checksum(rb.depthBuffer.data(), rb.depthBuffer.size() * 4);
}

}  // namespace

BENCHMARK(renderTenMillion)->Unit(benchmark::kMillisecond)->MinTime(2.0);
