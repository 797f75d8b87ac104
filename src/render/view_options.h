// What the render passes draw and how: the view's check boxes as plain values, filled in by
// the caller from whatever it keeps them in.
#pragma once

struct ViewOptions {
  bool grid = false, triangles = false, lines = false, vertices = false;
  bool backfaceCulling = false, wireframe = false, modelColors = false;
  // The selection box marks the triangles it shows rather than those its rectangle touches.
  bool onlySelectVisible = false;
  bool unselect = false;  // the selection box clears the selection bit instead of setting it
};
