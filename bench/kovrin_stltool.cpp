// Command-line helper of bench/peers.sh:
//   kovrin_stltool make FACETS natural|shuffled OUT.stl   writes a torus test mesh
//   kovrin_stltool make-rq FACETS OUT.rq                  the same torus as an RQ model file
//   kovrin_stltool save FILE OUT.rq|OUT.stl [REPEATS]    loads FILE (sized from it), then
//                                                         times saving it as RQ or exporting
//                                                         it as binary STL (safe write, fsync
//                                                         included)
//   kovrin_stltool import FILE [REPEATS [MAXV MAXT]]      times our import (read, weld, store)
//                                                         into a model of those capacities
//                                                         (default the editor's), prints the
//                                                         median wall and CPU (user + system)
//                                                         times and the peak memory beyond
//                                                         the model arrays
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "io/model_file.h"
#include "io/sized_load.h"
#include "torus_mesh.h"

namespace {

// User and system CPU seconds of this process so far.
double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  const auto s = [](const timeval& t) { return double(t.tv_sec) + 1e-6 * double(t.tv_usec); };
  return s(u.ru_utime) + s(u.ru_stime);
}

// FNV-1a over the model's rows (positions, corners, flags, colours): equal for equal imports.
uint32_t modelHash(const Model& m) {
  uint32_t h = 2166136261u;
  const auto add = [&h](const void* p, size_t n) {
    for (size_t i = 0; i < n; ++i) h = (h ^ static_cast<const uint8_t*>(p)[i]) * 16777619u;
  };
  add(m.vertexPos.data(), sizeof(Vec3) * static_cast<size_t>(m.vertexCount));
  add(m.triVerts.data(), sizeof(Tri) * static_cast<size_t>(m.triangleCount));
  add(m.triFlags.data(), static_cast<size_t>(m.triangleCount));
  add(m.triColor.data(), 2 * static_cast<size_t>(m.triangleCount));
  return h;
}

long peakKiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

int usage() {
  std::fprintf(stderr,
               "usage: kovrin_stltool make FACETS natural|shuffled OUT.stl\n"
               "       kovrin_stltool make-rq FACETS OUT.rq\n"
               "       kovrin_stltool save FILE OUT.rq|OUT.stl [REPEATS]\n"
               "       kovrin_stltool import FILE [REPEATS [MAXV MAXT]]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  const std::string cmd = argv[1];
  if (cmd == "make" && argc == 5) {
    const TorusShape shape = torusForFacets(std::atoll(argv[2]));
    const bool shuffled = std::string(argv[3]) == "shuffled";
    if (!writeTorusStl(argv[4], shape, shuffled)) {
      std::fprintf(stderr, "cannot write %s\n", argv[4]);
      return 1;
    }
    std::printf("%lld facets\n", 2LL * shape.rings * shape.sides);
    return 0;
  }
  if (cmd == "make-rq" && argc == 4) {
    const TorusShape shape = torusForFacets(std::atoll(argv[2]));
    const int64_t verts = static_cast<int64_t>(shape.rings) * shape.sides;
    Model m;
    if (!allocateModel(m, static_cast<int32_t>(verts), static_cast<int32_t>(2 * verts), 4)
             .empty() ||
        !buildTorus(m, shape)) {
      std::fprintf(stderr, "no room for the torus\n");
      return 1;
    }
    if (saveModel(m, argv[3]).message != kMsgFileSaved) {
      std::fprintf(stderr, "cannot write %s\n", argv[3]);
      return 1;
    }
    std::printf("%d triangles\n", m.triangleCount);
    return 0;
  }
  if (cmd == "save" && argc >= 4) {
    Model m;
    if (loadModelSized(m, argv[2]).load.result.request != Request::Normals) {
      std::fprintf(stderr, "cannot load %s\n", argv[2]);
      return 1;
    }
    recomputeNormals(m);
    const std::string out = argv[3];
    const bool rq = out.size() > 3 && out.substr(out.size() - 3) == ".rq";
    const int repeats = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
    std::vector<double> ms, cpuMs;
    for (int r = 0; r < repeats; ++r) {
      const double c0 = cpuSeconds();
      const auto t0 = std::chrono::steady_clock::now();
      const EditResult e = rq ? saveModel(m, out) : exportStl(m, out);
      const auto t1 = std::chrono::steady_clock::now();
      if (e.message != kMsgFileSaved) {
        std::fprintf(stderr, "cannot write %s\n", out.c_str());
        return 1;
      }
      ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
      cpuMs.push_back(1000.0 * (cpuSeconds() - c0));
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpuMs.begin(), cpuMs.end());
    std::printf("median_ms %.2f cpu_ms %.2f triangles %d\n", ms[ms.size() / 2],
                cpuMs[cpuMs.size() / 2], m.triangleCount);
    return 0;
  }
  if (cmd != "import") return usage();
  const int repeats = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  const int32_t maxv = argc > 5 ? std::atoi(argv[4]) : kDefaultMaxv;
  const int32_t maxt = argc > 5 ? std::atoi(argv[5]) : kDefaultMaxt;
  Model m;
  const std::string err = allocateModel(m, maxv, maxt, kDefaultMaxl);
  if (!err.empty()) {
    std::fprintf(stderr, "%s\n", err.c_str());
    return 1;
  }
  // Touch every array page, as a running editor has, so the peak below is the import's own.
  for (auto& v : {&m.vertexPos, &m.vertexProj, &m.triNormal})
    std::fill(v->begin(), v->end(), Vec3{0, 0, 0});
  std::fill(m.vertexMark.begin(), m.vertexMark.end(), 0);
  std::fill(m.vertexRemap.begin(), m.vertexRemap.end(), 0);
  std::fill(m.triVerts.begin(), m.triVerts.end(), Tri{0, 0, 0});
  std::fill(m.triFlags.begin(), m.triFlags.end(), 0);
  std::fill(m.triColor.begin(), m.triColor.end(), 0);
  const long before = peakKiB();
  std::vector<double> ms, cpuMs;
  for (int r = 0; r < repeats; ++r) {
    const double c0 = cpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    const ModelLoad load = loadModel(m, argv[2], nullptr);
    const auto t1 = std::chrono::steady_clock::now();
    cpuMs.push_back(1000.0 * (cpuSeconds() - c0));
    if (load.result.request != Request::Normals) {
      std::fprintf(stderr, "import failed (message %d)\n", static_cast<int>(load.result.message));
      return 1;
    }
    ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  std::sort(ms.begin(), ms.end());
  std::sort(cpuMs.begin(), cpuMs.end());
  std::printf(
      "median_ms %.2f vertices %d triangles %d extra_peak_kib %ld cpu_ms %.2f model# %08x\n",
      ms[ms.size() / 2], m.vertexCount, m.triangleCount, peakKiB() - before,
      cpuMs[cpuMs.size() / 2], modelHash(m));
  return 0;
}
