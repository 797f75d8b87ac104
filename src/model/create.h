// ".... create ....": vertices, lines and the primitive shapes appended from the point fields.
#pragma once

#include <cstdint>

#include "model/edit_result.h"
#include "model/fields.h"
#include "model/model.h"

// Menu ids of the create submenus.
enum CreateMenu : int {
  kMenuNewVertex = 5,
  kMenuNewLine = 6,
  kMenuNewTriangle = 7,
  kMenuNewQuad = 8,
  kMenuNewCube = 9,
  kMenuNewDisc = 16,
  kMenuNewCylinder = 17,
  kMenuNewCone = 18,
};
constexpr int kMenuCreatePrimitive = 15;  // its part group goes to the created triangles

// Appends at the end of the tables; the shape builders read points from floatFields at
// pointCursor. The caller has checked the capacities for the whole shape.
struct ShapeBuilder {
  Model& model;
  Fields& fields;
  uint8_t flagByte;  // flag byte of every triangle made (group, selection bit clear)
  uint16_t color;    // colour word of every triangle made
  int pointCursor = 0;
};

// Appends the vertex at floatFields[pointCursor..+2]; pointCursor moves on by 3.
void addPointVertex(ShapeBuilder& b);
// Four addPointVertex calls (a, b, c, d), then the triangles (a, b, c) and (c, d, a).
void addQuad(ShapeBuilder& b);
// Four addPointVertex calls, then the triangles (a, d, c) and (c, b, a).
void addQuadReversed(ShapeBuilder& b);

// Vertices, triangles and lines one create in `menu` appends (sides from "sIdes").
struct ShapeNeeds {
  int64_t verts = 0, tris = 0, lines = 0;
};
// False for a menu that creates nothing or a side count below 1.
bool shapeNeeds(int menu, int32_t sides, ShapeNeeds& needs);

// The create command of `menu`. A shape that would not fit is refused whole with the
// matching capacity message; a side count below 1 is refused without a message.
EditResult createShape(Model& m, Fields& f, int menu, uint8_t flagByte, uint16_t color);
