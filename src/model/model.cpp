#include "model/model.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

#include "model/simd.h"

uint64_t modelBytesFor(int64_t maxv, int64_t maxt, int64_t maxl) {
  const uint64_t v = static_cast<uint64_t>(maxv + 1);
  const uint64_t t = static_cast<uint64_t>(maxt + 1);
  const uint64_t l = static_cast<uint64_t>(maxl + 1);
  // positions + projections + the two scratch tables; corners + normals + flags + colours.
  return v * (sizeof(Vec3) * 2 + sizeof(int32_t) * 2) +
         t * (sizeof(Tri) + sizeof(Vec3) + sizeof(uint8_t) + sizeof(uint16_t)) + l * sizeof(Line);
}

std::string allocateModel(Model& m, int32_t maxv, int32_t maxt, int32_t maxl) {
  if (maxv < 1 || maxt < 1 || maxl < 1) return "capacities must be at least 1";
  try {
    const size_t v = static_cast<size_t>(maxv) + 1;
    const size_t t = static_cast<size_t>(maxt) + 1;
    const size_t l = static_cast<size_t>(maxl) + 1;
    m.vertexPos = FixedArray<Vec3>(v);
    m.vertexProj = FixedArray<Vec3>(v);
    m.vertexMark = FixedArray<int32_t>(v);
    m.vertexRemap = FixedArray<int32_t>(v);
    m.triVerts = FixedArray<Tri>(t);
    m.triNormal = FixedArray<Vec3>(t);
    m.triFlags = FixedArray<uint8_t>(t);
    m.triColor = FixedArray<uint16_t>(t);
    m.lineVerts = FixedArray<Line>(l);
  } catch (const std::bad_alloc&) {
    m = Model{};
    return "not enough memory for the model arrays";
  } catch (const std::length_error&) {
    m = Model{};
    return "not enough memory for the model arrays";
  }
  m.maxv = maxv;
  m.maxt = maxt;
  m.maxl = maxl;
  m.vertexCount = m.triangleCount = m.lineCount = 0;
  for (auto& name : m.partNames) name.fill(0);
  setPartName(m, 0, "default     ");
  return {};
}

bool putDefaultModel(Model& m) {
  static constexpr Vec3 kVerts[] = {{-10, -10, 0}, {10, -10, 0}, {10, 10, 0},
                                    {-10, 10, 0},  {0, 0, 20},   {-20, -20, 30},
                                    {20, -20, 30}, {20, 20, 30}, {-20, 20, 30}};
  static constexpr Tri kTris[] = {{0, 3, 2}, {2, 1, 0}, {0, 1, 4}, {1, 2, 4}, {2, 3, 4}, {3, 0, 4}};
  static constexpr Line kLines[] = {{5, 6}, {6, 7}, {7, 8}, {8, 5}};
  m.vertexCount = m.triangleCount = m.lineCount = 0;
  if (m.maxv < 9 || m.maxt < 6 || m.maxl < 4) return false;
  std::copy(std::begin(kVerts), std::end(kVerts), m.vertexPos.begin());
  std::copy(std::begin(kTris), std::end(kTris), m.triVerts.begin());
  std::copy(std::begin(kLines), std::end(kLines), m.lineVerts.begin());
  m.vertexCount = 9;
  m.triangleCount = 6;
  m.lineCount = 4;
  return true;
}

namespace {

// The normal of one triangle, step by step in float32.
Vec3 triangleNormal(Vec3 a, Vec3 b, Vec3 c) {
  const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
  const float vx = c.x - b.x, vy = c.y - b.y, vz = c.z - b.z;
  const float nx = uy * vz - uz * vy;
  const float ny = uz * vx - ux * vz;
  const float nz = ux * vy - uy * vx;
  float len = std::sqrt(nx * nx + ny * ny + nz * nz);
  if (len == 0.0f) len = kZeroNormalDivisor;
  return Vec3{nx / len, ny / len, nz / len};
}

}  // namespace

// Four triangles at a time in SSE registers: the same operations in the same order as
// triangleNormal (each lane rounds exactly as the scalar instruction would), without the
// partial loads and stores that make the compiler's own vectorisation of the loop slow.
void recomputeNormals(Model& m) {
  const Tri* tris = m.triVerts.data();
  const Vec3* pos = m.vertexPos.data();
  Vec3* out = m.triNormal.data();
  const int32_t n = m.triangleCount;
  int32_t t = 0;
#if KOVRIN_SSE2
  const __m128 zero = _mm_setzero_ps(), far = _mm_set1_ps(kZeroNormalDivisor);
  for (; t + 4 <= n; t += 4) {
    const Tri* q = tris + t;
    auto lane = [pos](int32_t i0, int32_t i1, int32_t i2, int32_t i3, __m128& x, __m128& y,
                      __m128& z) {
      const Vec3 p0 = pos[i0], p1 = pos[i1], p2 = pos[i2], p3 = pos[i3];
      x = _mm_setr_ps(p0.x, p1.x, p2.x, p3.x);
      y = _mm_setr_ps(p0.y, p1.y, p2.y, p3.y);
      z = _mm_setr_ps(p0.z, p1.z, p2.z, p3.z);
    };
    __m128 ax, ay, az, bx, by, bz, cx, cy, cz;
    lane(q[0].a, q[1].a, q[2].a, q[3].a, ax, ay, az);
    lane(q[0].b, q[1].b, q[2].b, q[3].b, bx, by, bz);
    lane(q[0].c, q[1].c, q[2].c, q[3].c, cx, cy, cz);
    const __m128 ux = _mm_sub_ps(bx, ax), uy = _mm_sub_ps(by, ay), uz = _mm_sub_ps(bz, az);
    const __m128 vx = _mm_sub_ps(cx, bx), vy = _mm_sub_ps(cy, by), vz = _mm_sub_ps(cz, bz);
    const __m128 nx = _mm_sub_ps(_mm_mul_ps(uy, vz), _mm_mul_ps(uz, vy));
    const __m128 ny = _mm_sub_ps(_mm_mul_ps(uz, vx), _mm_mul_ps(ux, vz));
    const __m128 nz = _mm_sub_ps(_mm_mul_ps(ux, vy), _mm_mul_ps(uy, vx));
    const __m128 sum =
        _mm_add_ps(_mm_add_ps(_mm_mul_ps(nx, nx), _mm_mul_ps(ny, ny)), _mm_mul_ps(nz, nz));
    __m128 len = _mm_sqrt_ps(sum);
    const __m128 isZero = _mm_cmpeq_ps(len, zero);
    len = _mm_or_ps(_mm_and_ps(isZero, far), _mm_andnot_ps(isZero, len));
    alignas(16) float rx[4], ry[4], rz[4];
    _mm_store_ps(rx, _mm_div_ps(nx, len));
    _mm_store_ps(ry, _mm_div_ps(ny, len));
    _mm_store_ps(rz, _mm_div_ps(nz, len));
    for (int k = 0; k < 4; ++k) out[t + k] = Vec3{rx[k], ry[k], rz[k]};
  }
#endif
  for (; t < n; ++t) {
    const Tri tri = tris[t];
    out[t] = triangleNormal(pos[tri.a], pos[tri.b], pos[tri.c]);
  }
}

void clearTriangleFlags(Model& m) {
  std::fill(m.triFlags.begin(), m.triFlags.end(), 0);
}

void setPartName(Model& m, int group, std::string_view name) {
  auto& rec = m.partNames[group];
  rec.fill(0);
  const size_t n = std::min<size_t>(name.size(), kPartNameLength);
  std::copy_n(name.begin(), n, rec.begin());
}

std::string partName(const Model& m, int group) {
  std::string s(m.partNames[group].data(), kPartNameLength);
  std::replace(s.begin(), s.end(), '\0', ' ');
  return s;
}
