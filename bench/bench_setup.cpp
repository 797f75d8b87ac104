#include "bench_setup.h"

#include <cstdint>
#include <filesystem>
#include <memory>

#include "torus_mesh.h"

namespace {

std::unique_ptr<Model> g_model;

}  // namespace

Model& benchTorus() {
  if (!g_model) {
    g_model = std::make_unique<Model>();
    // Room above the million triangles for the pieces of a cut.
    allocateModel(*g_model, kDefaultMaxv, 1100000, kDefaultMaxl);
    buildTorus(*g_model, TorusShape{});
  }
  return *g_model;
}

void resetBenchTorus() {
  Model& m = benchTorus();
  clearTriangleFlags(m);
  buildTorus(m, TorusShape{});
}

Camera benchCamera(const RenderBuffers& rb) {
  Camera c;
  c.cameraZoom = static_cast<float>(rb.renderWidth >> 1);
  c.viewCenterX = rb.renderWidth >> 1;
  c.viewCenterY = (rb.renderHeight >> 1) + (rb.renderHeight >> 3);
  return c;
}

std::string benchPath(const std::string& leaf) {
  const char* env = std::getenv("KOVRIN_BENCH_DIR");
  const std::filesystem::path dir = env != nullptr
                                        ? std::filesystem::path(env)
                                        : std::filesystem::temp_directory_path() / "kovrin_bench";
  std::filesystem::create_directories(dir);
  return (dir / leaf).string();
}

std::string torusStl(bool shuffled) {
  const std::string path = benchPath(shuffled ? "torus1m_shuffled.stl" : "torus1m.stl");
  if (!std::filesystem::exists(path)) writeTorusStl(path, TorusShape{}, shuffled);
  return path;
}

double checksum(const void* data, size_t bytes) {
  const auto* p = static_cast<const unsigned char*>(data);
  uint64_t h = 1469598103934665603ull;
  for (size_t i = 0; i < bytes; ++i) h = (h ^ p[i]) * 1099511628211ull;
  return static_cast<double>(h & 0xFFFFFFFFull);
}
