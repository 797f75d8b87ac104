#include "model/create.h"

#include <cmath>

#include "model/maths.h"

namespace {

// Appends at the end of the tables; the builders read points from `points` at pointCursor:
// X1..Z4 at 0..11, then four scratch points of the shapes at 12..23.
struct ShapeBuilder {
  Model& model;
  const ShapeSizes& sizes;
  uint8_t flagByte;  // flag byte of every triangle made (group, selection bit clear)
  uint16_t color;    // colour word of every triangle made
  std::array<float, 24> points{};
  int pointCursor = 0;
};

constexpr int kX1 = 0, kY1 = 1, kZ1 = 2;
constexpr int kScratchPoint5 = 12;

// Appends the vertex at points[pointCursor..+2]; pointCursor moves on by 3.
void addPointVertex(ShapeBuilder& b) {
  const auto& ff = b.points;
  const int c = b.pointCursor;
  Model& m = b.model;
  m.vertexPos[m.vertexCount] = Vec3{ff[c], ff[c + 1], ff[c + 2]};
  b.pointCursor = c + 3;
  ++m.vertexCount;
}

void addTriangle(ShapeBuilder& b, int32_t p, int32_t q, int32_t r) {
  Model& m = b.model;
  const int32_t t = m.triangleCount;
  m.triVerts[t] = Tri{p, q, r};
  m.triFlags[t] = b.flagByte;
  m.triColor[t] = b.color;
  m.triangleCount = t + 1;
}

void addLine(Model& m, int32_t p, int32_t q) {
  m.lineVerts[m.lineCount] = Line{p, q};
  ++m.lineCount;
}

// Four addPointVertex calls (a, b, c, d), then the triangles (a, b, c) and (c, d, a).
void addQuad(ShapeBuilder& b) {
  const int32_t n = b.model.vertexCount;
  for (int k = 0; k < 4; ++k) addPointVertex(b);
  addTriangle(b, n, n + 1, n + 2);
  addTriangle(b, n + 2, n + 3, n);
}

// Four addPointVertex calls, then the triangles (a, d, c) and (c, b, a).
void addQuadReversed(ShapeBuilder& b) {
  const int32_t n = b.model.vertexCount;
  for (int k = 0; k < 4; ++k) addPointVertex(b);
  addTriangle(b, n, n + 3, n + 2);
  addTriangle(b, n + 2, n + 1, n);
}

// Writes scratch point 5 and appends it as the next vertex.
void addScratchVertex(ShapeBuilder& b, float x, float y, float z) {
  auto& ff = b.points;
  ff[kScratchPoint5] = x;
  ff[kScratchPoint5 + 1] = y;
  ff[kScratchPoint5 + 2] = z;
  b.pointCursor = kScratchPoint5;
  addPointVertex(b);
}

void addCube(ShapeBuilder& b) {
  auto& ff = b.points;
  const float x = ff[kX1], y = ff[kY1], z = ff[kZ1];
  const float s = b.sizes.size;
  const float h = s / 2.0f;
  const int32_t n = b.model.vertexCount;
  // Bottom square A, B, C, D in scratch points 5..8.
  const float xs[4] = {x - h, x + h, x + h, x - h};
  const float ys[4] = {y - h, y - h, y + h, y + h};
  for (int k = 0; k < 4; ++k) {
    ff[kScratchPoint5 + 3 * k] = xs[k];
    ff[kScratchPoint5 + 3 * k + 1] = ys[k];
    ff[kScratchPoint5 + 3 * k + 2] = z;
  }
  b.pointCursor = kScratchPoint5;
  addQuadReversed(b);
  // Top square E, F, G, H above them.
  const float top = z + s;
  for (int k = 0; k < 4; ++k) ff[kScratchPoint5 + 3 * k + 2] = top;
  b.pointCursor = kScratchPoint5;
  addQuad(b);
  const int32_t A = n, B = n + 1, C = n + 2, D = n + 3;
  const int32_t E = n + 4, F = n + 5, G = n + 6, H = n + 7;
  addTriangle(b, A, F, E);
  addTriangle(b, F, A, B);
  addTriangle(b, H, A, E);
  addTriangle(b, A, H, D);
  addTriangle(b, B, G, F);
  addTriangle(b, G, B, C);
  addTriangle(b, H, C, D);
  addTriangle(b, C, H, G);
}

// The rim and the fan of a disc or cone whose centre (or apex) is vertex n.
void addRimFan(ShapeBuilder& b, int32_t n, int32_t sides) {
  const auto& ff = b.points;
  const float x = ff[kX1], y = ff[kY1], z = ff[kZ1];
  const float r = b.sizes.radius;
  const float step = 2.0f * kPi / static_cast<float>(sides);
  float a = 0.0f;
  for (int32_t k = 1; k <= sides; ++k) {
    const float px = x + r * std::cos(a);
    const float py = y + r * std::sin(a);
    addScratchVertex(b, px, py, z);
    a = a - step;
  }
  for (int32_t k = 1; k <= sides - 1; ++k) addTriangle(b, n, n + k, n + k + 1);
  addTriangle(b, n, n + sides, n + 1);
}

void addDisc(ShapeBuilder& b, int32_t sides) {
  const int32_t n = b.model.vertexCount;
  b.pointCursor = 0;
  addPointVertex(b);
  addRimFan(b, n, sides);
}

void addCone(ShapeBuilder& b, int32_t sides) {
  auto& ff = b.points;
  const int32_t n = b.model.vertexCount;
  const float z1 = ff[kZ1];
  ff[kZ1] = z1 + b.sizes.height;
  b.pointCursor = 0;
  addPointVertex(b);
  ff[kZ1] = z1;
  addRimFan(b, n, sides);
}

void addCylinder(ShapeBuilder& b, int32_t sides) {
  const auto& ff = b.points;
  const float x = ff[kX1], y = ff[kY1], z = ff[kZ1];
  const float r = b.sizes.radius;
  const float top = z + b.sizes.height;
  const float step = 2.0f * kPi / static_cast<float>(sides);
  const int32_t n = b.model.vertexCount;
  float a = 0.0f;
  for (int32_t k = 1; k <= sides; ++k) {
    const float px = x + r * std::cos(a);
    const float py = y + r * std::sin(a);
    addScratchVertex(b, px, py, z);
    addScratchVertex(b, px, py, top);
    a = a - step;
    if (k > 1) {
      const int32_t bk = n + 2 * (k - 1), tk = bk + 1;
      const int32_t bp = bk - 2, tp = bk - 1;
      addTriangle(b, tk, tp, bp);
      addTriangle(b, bp, bk, tk);
    }
  }
  const int32_t b1 = n, t1 = n + 1;
  const int32_t bs = n + 2 * (sides - 1), ts = bs + 1;
  addTriangle(b, t1, ts, bs);
  addTriangle(b, bs, b1, t1);
}

}  // namespace

bool shapeNeeds(Shape shape, int32_t sides, ShapeNeeds& needs) {
  const int64_t s = sides;
  switch (shape) {
    case Shape::Vertex:
      needs = {1, 0, 0};
      return true;
    case Shape::Line:
      needs = {2, 0, 1};
      return true;
    case Shape::Triangle:
      needs = {3, 1, 0};
      return true;
    case Shape::Quad:
      needs = {4, 2, 0};
      return true;
    case Shape::Cube:
      needs = {8, 12, 0};
      return true;
    case Shape::Disc:
    case Shape::Cone:
      if (s < 1) return false;
      needs = {1 + s, s, 0};
      return true;
    case Shape::Cylinder:
      if (s < 1) return false;
      needs = {2 * s, 2 * s, 0};
      return true;
    default:
      return false;
  }
}

EditResult createShape(Model& m, Shape shape, const ShapeSizes& sizes, uint8_t flagByte,
                       uint16_t color) {
  const int32_t sides = sizes.sides;
  ShapeNeeds needs;
  if (!shapeNeeds(shape, sides, needs)) return {};
  if (int64_t{m.vertexCount} + needs.verts > int64_t{m.maxv})
    return {Request::None, kMsgTooManyVerteces};
  if (int64_t{m.triangleCount} + needs.tris > int64_t{m.maxt})
    return {Request::None, kMsgTooManyTriangles};
  if (int64_t{m.lineCount} + needs.lines > int64_t{m.maxl})
    return {Request::None, kMsgTooManyLines};

  ShapeBuilder b{m, sizes, flagByte, color};
  for (int k = 0; k < 4; ++k) {
    b.points[3 * k] = sizes.points[k].x;
    b.points[3 * k + 1] = sizes.points[k].y;
    b.points[3 * k + 2] = sizes.points[k].z;
  }
  const int32_t n = m.vertexCount;
  switch (shape) {
    case Shape::Vertex:
      addPointVertex(b);
      return {Request::Render, kMsgNone};
    case Shape::Line:
      addPointVertex(b);
      addPointVertex(b);
      addLine(m, n, n + 1);
      return {Request::Render, kMsgNone};
    case Shape::Triangle:
      for (int k = 0; k < 3; ++k) addPointVertex(b);
      addTriangle(b, n, n + 1, n + 2);
      break;
    case Shape::Quad:
      addQuad(b);
      break;
    case Shape::Cube:
      addCube(b);
      break;
    case Shape::Disc:
      addDisc(b, sides);
      break;
    case Shape::Cylinder:
      addCylinder(b, sides);
      break;
    case Shape::Cone:
      addCone(b, sides);
      break;
    default:
      return {};
  }
  return {Request::Normals, kMsgNone};
}
