// Fit view: the camera keeps its angles and moves so that the model's bounding box is centred
// in the frame and fills most of it.
#pragma once

#include "model/fields.h"
#include "model/model.h"
#include "render/camera.h"

struct BoundingBox {
  Vec3 min{0, 0, 0}, max{0, 0, 0};
  bool empty = true;
};

// Box of vertices 0 .. vertexCount - 1.
BoundingBox modelBounds(const Model& m);

// Sets the distance, zoom and projection centre for a frame of width x height pixels; the
// angles stay. Returns the camera depth of the box's farthest corner afterwards (0 when the
// model has no vertex and nothing changed), so that the caller can keep it within drawdepth.
float fitView(Camera& c, const Model& m, int width, int height);

// fitView, and "drawdepth" raised to twice that depth when the model would lie beyond it.
void fitViewAndDepth(Camera& c, Fields& f, const Model& m, int width, int height);
