// The depth-tested line shared by the overlays and the wireframe look.
#pragma once

#include "render/render_buffers.h"

// Draws a line in rb.drawColor from (xs, ys) at camera depth zs to (xe, ye) at depth ze, in
// frame coordinates with the view centre already added. n + 1 points, n the longer axis in
// whole pixels; x, y and 1/z advance by one float step per point. Clipped to the whole frame;
// a point is stored when its depth is strictly less than the depth buffer's.
void drawLine3D(RenderBuffers& rb, float xs, float ys, float zs, float xe, float ye, float ze);
