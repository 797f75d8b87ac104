#include "torus_mesh.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr float kPiF = 3.14159265f;

Vec3 torusPoint(const TorusShape& s, int32_t ring, int32_t side) {
  const float u = 2.0f * kPiF * static_cast<float>(ring % s.rings) / static_cast<float>(s.rings);
  const float v = 2.0f * kPiF * static_cast<float>(side % s.sides) / static_cast<float>(s.sides);
  const float r = s.majorRadius + s.minorRadius * std::cos(v);
  return {r * std::cos(u), r * std::sin(u), s.minorRadius * std::sin(v)};
}

// Corners of facet f: quad (i, j) split along one diagonal, so every vertex has six triangles.
Tri torusTri(const TorusShape& s, int64_t f) {
  const int64_t quad = f / 2;
  const int32_t i = static_cast<int32_t>(quad / s.sides), j = static_cast<int32_t>(quad % s.sides);
  auto idx = [&s](int32_t a, int32_t b) { return (a % s.rings) * s.sides + (b % s.sides); };
  if (f % 2 == 0) return {idx(i, j), idx(i + 1, j), idx(i + 1, j + 1)};
  return {idx(i, j), idx(i + 1, j + 1), idx(i, j + 1)};
}

// A small fixed-seed generator, so the shuffled file never depends on the library.
struct SplitMix {
  uint64_t state;
  uint64_t next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
};

void putF32(uint8_t* p, float v) {
  std::memcpy(p, &v, 4);  // little-endian machines only, as the benchmarks run
}

}  // namespace

TorusShape torusForFacets(int64_t facets) {
  TorusShape s;
  const auto sides =
      static_cast<int32_t>(std::lround(std::sqrt(static_cast<double>(facets) / 4.0)));
  s.sides = sides < 3 ? 3 : sides;
  s.rings = 2 * s.sides;
  return s;
}

bool buildTorus(Model& m, const TorusShape& s) {
  const int64_t verts = static_cast<int64_t>(s.rings) * s.sides;
  const int64_t tris = 2 * verts;
  m.vertexCount = m.triangleCount = m.lineCount = 0;
  if (verts > m.maxv || tris > m.maxt || m.maxl < 4) return false;
  for (int32_t i = 0; i < s.rings; ++i)
    for (int32_t j = 0; j < s.sides; ++j) m.vertexPos[m.vertexCount++] = torusPoint(s, i, j);
  for (int64_t f = 0; f < tris; ++f) {
    m.triVerts[m.triangleCount] = torusTri(s, f);
    m.triColor[m.triangleCount] = colorWord(20, 24, 28);
    m.triFlags[m.triangleCount++] = 0;
  }
  for (int k = 0; k < 4; ++k)
    m.lineVerts[m.lineCount++] =
        Line{(k * s.rings / 4) * s.sides, ((k + 1) * s.rings / 4 % s.rings) * s.sides};
  return true;
}

bool writeTorusStl(const std::string& path, const TorusShape& s, bool shuffled) {
  const int64_t n = 2 * static_cast<int64_t>(s.rings) * s.sides;
  std::vector<int32_t> order(static_cast<size_t>(n));
  for (int64_t i = 0; i < n; ++i) order[static_cast<size_t>(i)] = static_cast<int32_t>(i);
  if (shuffled) {
    SplitMix rng{20240601};
    for (int64_t i = n - 1; i > 0; --i)
      std::swap(order[static_cast<size_t>(i)], order[rng.next() % static_cast<uint64_t>(i + 1)]);
  }
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!f) return false;
  uint8_t header[84];
  std::memset(header, ' ', 80);
  const auto count = static_cast<uint32_t>(n);
  std::memcpy(header + 80, &count, 4);
  if (std::fwrite(header, 1, 84, f.get()) != 84) return false;
  std::vector<uint8_t> rec(50 * 4096);
  size_t used = 0;
  for (int64_t k = 0; k < n; ++k) {
    const Tri t = torusTri(s, order[static_cast<size_t>(k)]);
    uint8_t* p = rec.data() + used;
    std::memset(p, 0, 12);  // readers ignore the stored normal
    const int32_t corner[3] = {t.a, t.b, t.c};
    for (int c = 0; c < 3; ++c) {
      const Vec3 v = torusPoint(s, corner[c] / s.sides, corner[c] % s.sides);
      putF32(p + 12 + 12 * c, v.x);
      putF32(p + 16 + 12 * c, v.y);
      putF32(p + 20 + 12 * c, v.z);
    }
    const uint16_t color = colorWord(20, 24, 28);
    std::memcpy(p + 48, &color, 2);
    used += 50;
    if (used == rec.size()) {
      if (std::fwrite(rec.data(), 1, used, f.get()) != used) return false;
      used = 0;
    }
  }
  return std::fwrite(rec.data(), 1, used, f.get()) == used;
}
