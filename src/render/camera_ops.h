// Camera transform, projection, picking and the camera operations.
#pragma once

#include <cstdint>

#include "model/model.h"
#include "render/camera.h"

void computeCameraTrig(Camera& c);
// Camera rotation of a point or direction, without distance and projection: (X, Y, depth - D).
Vec3 rotatePoint(const Camera& c, Vec3 p);
// Fills vertexProj for vertices 0 .. vertexCount - 1 (x, y kept stale below depth 1.0).
void projectVertices(Model& m, const Camera& c);
// The same for vertices first .. last - 1, one at a time.
void projectVertexRange(Model& m, const Camera& c, int32_t first, int32_t last);
// Frame pixel and depth sample back to a world point. Returns false when a background ray
// misses the ground plane (parallel, or meeting it behind the camera).
bool unprojectPixel(const Camera& c, float farDepth, int px, int py, float depthSample, Vec3& out);
// The squared pixel distance a vertex pick starts from: a vertex farther off never wins.
constexpr float kPickStartDistance = 10000000.0f;
// Vertex nearest to the pixel among those with 1.0 <= depth <= farDepth; `previous` when none.
int32_t pickNearestVertex(const Model& m, const Camera& c, float farDepth, int px, int py,
                          int32_t previous);
// Normalises the angles, clamps the zoom; true when A, B, D or F differs from the snapshot.
bool updateCamera(Camera& c, const CameraSnapshot& snapshot);
// View presets: k for A and k for B in multiples of pi/2.
enum class ViewPreset { Front, Back, Top, Bottom, Left, Right };
void setViewPreset(Camera& c, ViewPreset preset);

// Camera operations for keys and drags. None of them calls updateCamera: the caller does,
// and raises the render request when it reports a change (pan and presets raise it always).
enum class RotateDir { Up, Down, Left, Right };
// Up: B += step; Down: B -= step; Right: A += step; Left: A -= step. Step pi/90, or pi/8 with
// Shift.
void stepRotate(Camera& c, RotateDir dir, bool shiftHeld);
void scaleDistance(Camera& c, float factor);  // D *= factor
void scaleZoom(Camera& c, float factor);      // F *= factor
// Left drag: A and B from the snapshot plus the pointer movement since the anchor.
void orbitDrag(Camera& c, const CameraSnapshot& snap, int mouseX, int mouseY, int anchorX,
               int anchorY, int renderWidth, int renderHeight);
// Right drag: F and D from the snapshot plus the pointer movement since the anchor.
void dollyZoomDrag(Camera& c, const CameraSnapshot& snap, int mouseX, int mouseY, int anchorX,
                   int anchorY, int renderHeight);
// Both buttons: the view centre moves with the pointer.
void pan(Camera& c, int dx, int dy);
