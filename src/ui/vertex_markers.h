// Vertex markers of the triangle tools and the vertex selector.
#pragma once

#include <cstdint>

#include "core/editor.h"

// The 5 x 5 screen-pixel square outline around a vertex's projected position (nothing for an
// index outside 0 .. vertexCount - 1).
void drawVertexMarker(Editor& ed, int32_t vertex, uint32_t color);
