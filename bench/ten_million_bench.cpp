// A frame of the 10,000,000-triangle torus (maxv = 5,000,001, maxt = 10,000,000) at 800x600:
// projection, clear, triangles with culling and the present, as renderFrame does for 1M; and
// the whole-model edits on it: select all, Move of everything, Delete of half (with remove
// verts) and the guillotine through the middle (the model operations, without the undo
// record the commands add). Run with KOVRIN_THREADS=1 and without to compare one core with
// all.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench_setup.h"
#include "core/editor.h"
#include "core/view_options.h"
#include "model/cutting.h"
#include "model/selection.h"
#include "model/selection_ops.h"
#include "model/transforms.h"
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

// The torus as built, after an edit changed it.
void resetTenMillion(Model& m) {
  buildTorus(m, torusForFacets(10000000));
  recomputeNormals(m);
}

double modelChecksum(const Model& m) {
  return checksum(m.vertexPos.data(), sizeof(Vec3) * static_cast<size_t>(m.vertexCount)) +
         checksum(m.triVerts.data(), sizeof(Tri) * static_cast<size_t>(m.triangleCount)) +
         checksum(m.triFlags.data(), static_cast<size_t>(m.triangleCount));
}

void selectAllTenMillion(benchmark::State& state) {
  Model& m = tenMillionTorus();
  for (auto _ : state) {
    state.PauseTiming();
    clearTriangleFlags(m);
    state.ResumeTiming();
    selectAll(m);
    benchmark::ClobberMemory();
  }
  state.counters["selected"] = countSelected(m);
  clearTriangleFlags(m);
}

void moveAllTenMillion(benchmark::State& state) {
  Model& m = tenMillionTorus();
  selectAll(m);
  Selection s;
  computeSelectionCenter(m, s);
  for (auto _ : state) {
    moveSelection(m, s, Vec3{1.0f, 0.0f, 0.0f}, false);
    benchmark::ClobberMemory();
  }
  state.counters["model#"] = modelChecksum(m);
  clearTriangleFlags(m);
  resetTenMillion(m);
}

void deleteHalfTenMillion(benchmark::State& state) {
  Model& m = tenMillionTorus();
  for (auto _ : state) {
    state.PauseTiming();
    resetTenMillion(m);
    for (int32_t t = 0; t < m.triangleCount / 2; ++t) m.triFlags[t] |= kSelectedBit;
    state.ResumeTiming();
    deleteSelection(m, true);
    benchmark::ClobberMemory();
  }
  state.counters["model#"] = modelChecksum(m);
  resetTenMillion(m);
}

void guillotineTenMillion(benchmark::State& state) {
  Model& m = tenMillionTorus();
  for (auto _ : state) {
    state.PauseTiming();
    resetTenMillion(m);
    state.ResumeTiming();
    sliceModel(m, kAxisX, 0.0f);
    benchmark::ClobberMemory();
  }
  state.counters["triangles after"] = m.triangleCount;
  state.counters["model#"] = modelChecksum(m);
  resetTenMillion(m);
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
BENCHMARK(selectAllTenMillion)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(moveAllTenMillion)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(deleteHalfTenMillion)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(guillotineTenMillion)->Unit(benchmark::kMillisecond)->Iterations(3);
