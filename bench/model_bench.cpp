// Whole-model operations on the million-triangle torus: normals, the selection rectangle in
// both sub-modes, a guillotine through the middle and Delete with remove verts.
#include <benchmark/benchmark.h>

#include "bench_setup.h"
#include "core/editor.h"
#include "core/view_options.h"
#include "model/cutting.h"
#include "model/fields.h"
#include "model/transforms.h"
#include "render/box_select.h"
#include "render/camera_ops.h"
#include "render/render_passes.h"

namespace {

constexpr float kFarDepth = 1000000.0f;

void normals(benchmark::State& state) {
  Model& m = benchTorus();
  for (auto _ : state) {
    recomputeNormals(m);
    benchmark::ClobberMemory();
  }
  state.counters["normals#"] =
      checksum(m.triNormal.data(), static_cast<size_t>(m.triangleCount) * sizeof(Vec3));
}

// Argument 1: only select visible parts (index buffer); 0: marking by span ends.
void selectWholeFrame(benchmark::State& state) {
  const bool visibleOnly = state.range(0) != 0;
  Model& m = benchTorus();
  RenderBuffers rb;
  allocateRenderBuffers(rb, 800, 600, 1);
  Camera c = benchCamera(rb);
  computeCameraTrig(c);
  projectVertices(m, c);
  const uint32_t flags = kShowTris | (visibleOnly ? kOnlySelectVisible : 0u);
  int64_t selected = 0;
  for (auto _ : state) {
    state.PauseTiming();
    clearTriangleFlags(m);
    state.ResumeTiming();
    selectRectangle(rb, m, c, viewOptionsFrom(flags), kFarDepth, 0, 0, rb.renderMaxX,
                    rb.renderMaxY);
    benchmark::ClobberMemory();
  }
  for (int32_t t = 0; t < m.triangleCount; ++t) selected += (m.triFlags[t] & kSelectedBit) != 0;
  state.counters["selected"] = static_cast<double>(selected);
  state.counters["flags#"] = checksum(m.triFlags.data(), static_cast<size_t>(m.triangleCount));
  clearTriangleFlags(m);
}

void sliceMiddle(benchmark::State& state) {
  Model& m = benchTorus();
  Fields f;
  setFieldDefaults(f);
  f.floatFields[kX1] = 0.0f;
  int32_t pieces = 0;
  for (auto _ : state) {
    state.PauseTiming();
    resetBenchTorus();
    state.ResumeTiming();
    sliceModel(m, kAxisX, f.floatFields[kX1]);
    benchmark::ClobberMemory();
    pieces = m.triangleCount;
  }
  state.counters["triangles after"] = pieces;
  resetBenchTorus();
}

void deleteHalf(benchmark::State& state) {
  Model& m = benchTorus();
  for (auto _ : state) {
    state.PauseTiming();
    resetBenchTorus();
    for (int32_t t = 0; t < m.triangleCount / 2; ++t) m.triFlags[t] |= kSelectedBit;
    state.ResumeTiming();
    deleteSelection(m, true);
    benchmark::ClobberMemory();
  }
  state.counters["vertices left"] = benchTorus().vertexCount;
  resetBenchTorus();
}

}  // namespace

BENCHMARK(normals)->Unit(benchmark::kMillisecond);
BENCHMARK(selectWholeFrame)->ArgName("visible")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(sliceMiddle)->Unit(benchmark::kMillisecond);
BENCHMARK(deleteHalf)->Unit(benchmark::kMillisecond);
