// The menus by number: 0 is the bar, 1..28 the windows (their definitions in menu_tables.cpp).
#pragma once

#include <cstdint>

enum MenuId : uint8_t {
  kMenuBar = 0,
  kMenuFile = 1,
  kMenuEdit = 2,
  kMenuView = 3,
  kMenuCamera = 4,
  kMenuNewVertex = 5,
  kMenuNewLine = 6,
  kMenuNewTriangle = 7,
  kMenuNewQuad = 8,
  kMenuNewCube = 9,
  kMenuSelection = 10,
  kMenuMove = 11,
  kMenuDuplicate = 12,
  kMenuRotate = 13,
  kMenuScale = 14,
  kMenuCreatePrimitive = 15,  // its part group goes to the created triangles
  kMenuNewDisc = 16,
  kMenuNewCylinder = 17,
  kMenuNewCone = 18,
  kMenuPartNames = 19,
  kMenuByPartGroup = 20,
  kMenuDelete = 21,  // "Delete selection"
  kMenuActions = 22,
  kMenuMiscTools = 23,
  kMenuDrill = 24,
  kMenuVertEdit = 25,
  kMenuGuillotine = 26,
  kMenuChangeColor = 27,
  kMenuDefaultColor = 28,
};
