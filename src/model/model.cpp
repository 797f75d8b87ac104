#include "model/model.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

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
    m.vertexPos.assign(v, Vec3{0, 0, 0});
    m.vertexProj.assign(v, Vec3{0, 0, 0});
    m.vertexMark.assign(v, 0);
    m.vertexRemap.assign(v, 0);
    m.triVerts.assign(t, Tri{0, 0, 0});
    m.triNormal.assign(t, Vec3{0, 0, 0});
    m.triFlags.assign(t, 0);
    m.triColor.assign(t, 0);
    m.lineVerts.assign(l, Line{0, 0});
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

void recomputeNormals(Model& m) {
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    const Tri tri = m.triVerts[t];
    const Vec3 a = m.vertexPos[tri.a];
    const Vec3 b = m.vertexPos[tri.b];
    const Vec3 c = m.vertexPos[tri.c];
    const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
    const float vx = c.x - b.x, vy = c.y - b.y, vz = c.z - b.z;
    const float nx = uy * vz - uz * vy;
    const float ny = uz * vx - ux * vz;
    const float nz = ux * vy - uy * vx;
    float len = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (len == 0.0f) len = 1000000.0f;
    m.triNormal[t] = Vec3{nx / len, ny / len, nz / len};
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
