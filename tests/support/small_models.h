// Small models built straight into a Model for the editing tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "model/model.h"

inline Model makeEmptyModel(int32_t maxv = 100, int32_t maxt = 100, int32_t maxl = 20) {
  Model m;
  EXPECT_EQ(allocateModel(m, maxv, maxt, maxl), "");
  return m;
}

inline int32_t addVertex(Model& m, float x, float y, float z) {
  m.vertexPos[m.vertexCount] = Vec3{x, y, z};
  return m.vertexCount++;
}

inline int32_t addTriangle(Model& m, int32_t a, int32_t b, int32_t c, uint8_t flags = 0,
                           uint16_t color = 0) {
  m.triVerts[m.triangleCount] = Tri{a, b, c};
  m.triFlags[m.triangleCount] = flags;
  m.triColor[m.triangleCount] = color;
  return m.triangleCount++;
}

inline int32_t addLine(Model& m, int32_t a, int32_t b) {
  m.lineVerts[m.lineCount] = Line{a, b};
  return m.lineCount++;
}

// A cube of edge `size` standing on z = z0 around (cx, cy): 8 vertices, 12 outward triangles.
inline void addCube(Model& m, float cx, float cy, float z0, float size, uint8_t flags) {
  const float h = size / 2.0f;
  const int32_t n = m.vertexCount;
  for (const float z : {z0, z0 + size}) {
    addVertex(m, cx - h, cy - h, z);
    addVertex(m, cx + h, cy - h, z);
    addVertex(m, cx + h, cy + h, z);
    addVertex(m, cx - h, cy + h, z);
  }
  const int32_t A = n, B = n + 1, C = n + 2, D = n + 3, E = n + 4, F = n + 5, G = n + 6, H = n + 7;
  for (const Tri t :
       {Tri{A, D, C}, Tri{C, B, A}, Tri{E, F, G}, Tri{G, H, E}, Tri{A, F, E}, Tri{F, A, B},
        Tri{H, A, E}, Tri{A, H, D}, Tri{B, G, F}, Tri{G, B, C}, Tri{H, C, D}, Tri{C, H, G}})
    addTriangle(m, t.a, t.b, t.c, flags);
}

// A tetrahedron at (ox, oy, oz) with unit edges along the axes; four outward triangles.
inline void addTetrahedron(Model& m, float ox, float oy, float oz, uint8_t flags) {
  const int32_t n = m.vertexCount;
  addVertex(m, ox, oy, oz);
  addVertex(m, ox + 1, oy, oz);
  addVertex(m, ox, oy + 1, oz);
  addVertex(m, ox, oy, oz + 1);
  addTriangle(m, n, n + 2, n + 1, flags);
  addTriangle(m, n, n + 1, n + 3, flags);
  addTriangle(m, n + 1, n + 2, n + 3, flags);
  addTriangle(m, n, n + 3, n + 2, flags);
}
