// Files with the million-triangle torus: STL import (read, weld, store) in natural and in
// shuffled facet order, STL export, RQ save and load, OBJ and PLY load.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "bench_setup.h"
#include "io/mesh_export.h"
#include "io/model_file.h"
#include "io/stl_file.h"

namespace {

double fileChecksum(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  return checksum(bytes.data(), bytes.size());
}

// Argument 1: the shuffled file.
void importStlFile(benchmark::State& state) {
  const std::string path = torusStl(state.range(0) != 0);
  Model& m = benchTorus();
  for (auto _ : state) {
    const ModelLoad load = loadModel(m, path, nullptr);
    benchmark::DoNotOptimize(load);
    benchmark::ClobberMemory();
  }
  state.counters["vertices"] = m.vertexCount;
  state.counters["triangles"] = m.triangleCount;
  state.counters["model#"] =
      checksum(m.vertexPos.data(), static_cast<size_t>(m.vertexCount) * sizeof(Vec3)) +
      checksum(m.triVerts.data(), static_cast<size_t>(m.triangleCount) * sizeof(Tri));
  resetBenchTorus();
}

void exportStlFile(benchmark::State& state) {
  Model& m = benchTorus();
  recomputeNormals(m);
  const std::string path = benchPath("export.stl");
  for (auto _ : state) benchmark::DoNotOptimize(exportStl(m, path));
  state.counters["file#"] = fileChecksum(path);
  std::remove(path.c_str());
}

void saveRq(benchmark::State& state) {
  Model& m = benchTorus();
  const std::string path = benchPath("save.rq");
  for (auto _ : state) benchmark::DoNotOptimize(saveModel(m, path));
  state.counters["file#"] = fileChecksum(path);
  std::remove(path.c_str());
}

void loadRq(benchmark::State& state) {
  Model& m = benchTorus();
  const std::string path = benchPath("load.rq");
  saveModel(m, path);
  for (auto _ : state) {
    const ModelLoad load = loadModel(m, path, nullptr);
    benchmark::DoNotOptimize(load);
    benchmark::ClobberMemory();
  }
  state.counters["triangles"] = m.triangleCount;
  std::remove(path.c_str());
}

// Argument 0: OBJ, 1: PLY, both as " exPort stl" writes them: the whole load (read, parse,
// check, copy into the model).
void loadMeshFile(benchmark::State& state) {
  Model& m = benchTorus();
  const std::string path = benchPath(state.range(0) == 0 ? "load.obj" : "load.ply");
  exportModel(m, path);
  for (auto _ : state) {
    const ModelLoad load = loadModel(m, path, nullptr);
    benchmark::DoNotOptimize(load);
    benchmark::ClobberMemory();
  }
  state.counters["triangles"] = m.triangleCount;
  state.counters["model#"] =
      checksum(m.vertexPos.data(), static_cast<size_t>(m.vertexCount) * sizeof(Vec3)) +
      checksum(m.triVerts.data(), static_cast<size_t>(m.triangleCount) * sizeof(Tri));
  std::remove(path.c_str());
  resetBenchTorus();
}

}  // namespace

BENCHMARK(loadMeshFile)->ArgName("ply")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(importStlFile)->ArgName("shuffled")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(exportStlFile)->Unit(benchmark::kMillisecond);
BENCHMARK(saveRq)->Unit(benchmark::kMillisecond);
BENCHMARK(loadRq)->Unit(benchmark::kMillisecond);
