// The render passes' view options from the editor's option word.
#pragma once

#include <cstdint>

#include "core/editor.h"
#include "render/view_options.h"

inline ViewOptions viewOptionsFrom(uint32_t viewFlags) {
  const auto on = [viewFlags](uint32_t bit) { return (viewFlags & bit) != 0; };
  ViewOptions v;
  v.grid = on(kShowGrid);
  v.triangles = on(kShowTris);
  v.lines = on(kShowLines);
  v.vertices = on(kShowVerts);
  v.backfaceCulling = on(kBackfaceCulling);
  v.wireframe = on(kWireframe);
  v.modelColors = on(kModelColors);
  v.onlySelectVisible = on(kOnlySelectVisible);
  v.unselect = on(kUnselect);
  return v;
}
