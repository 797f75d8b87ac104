// ".... create ....": vertices, lines and the primitive shapes appended from given points.
#pragma once

#include <array>
#include <cstdint>

#include "model/edit_result.h"
#include "model/model.h"

// What one create appends.
enum class Shape : uint8_t { Vertex, Line, Triangle, Quad, Cube, Disc, Cylinder, Cone };

// What a create reads from its menu's fields: the points X1..Z4, "siZe", "Radius", "Height"
// and "sIdes".
struct ShapeSizes {
  std::array<Vec3, 4> points{};
  float size = 0.0f;
  float radius = 0.0f;
  float height = 0.0f;
  int32_t sides = 0;
};

// Vertices, triangles and lines one create of `shape` appends (sides from "sIdes").
struct ShapeNeeds {
  int64_t verts = 0, tris = 0, lines = 0;
};
// False for a side count below 1 (discs, cylinders, cones).
bool shapeNeeds(Shape shape, int32_t sides, ShapeNeeds& needs);

// Appends `shape` with the flag byte (group, selection bit clear) and colour word given. A
// shape that would not fit is refused whole with the matching capacity message; a side count
// below 1 is refused without a message.
EditResult createShape(Model& m, Shape shape, const ShapeSizes& sizes, uint8_t flagByte,
                       uint16_t color);
