// The geometry operations on the selected triangles and the vertices they use: move,
// duplicate, rotate, scale, delete, flip and reverse faces.
//
// The confirmed ones (move, duplicate, rotate, scale, delete) do nothing but ask for a
// present on an empty model, and report "Nothing selected!" without a selection.
//
// Those given a history keep for it what they overwrite (the scope of its recording must say
// Change::Own for the arrays concerned; see ui/command_scopes.cpp).
#pragma once

#include "model/edit_result.h"
#include "model/model.h"

struct History;

enum class Axis { X, Y, Z };

// Adds (X1, Y1, Z1) to every selected vertex. With `absolute` the box centre goes to
// (X1, Y1) and, in z, to Z1 unless the selection rests exactly on z = 0 (then it rises by Z1).
EditResult moveSelection(Model& m, const Selection& s, Vec3 xyz, bool absolute,
                         History* h = nullptr);
// Appends moved copies of the selected vertices and triangles (copies stay selected). Refused
// whole, with "too many verteces" or "too many triangles", when the copies would not fit.
EditResult duplicateSelection(Model& m, const Selection& s, Vec3 xyz, bool absolute);
// Rotates about `centre` in the XY, then the XZ, then the YZ plane (radians).
EditResult rotateSelection(Model& m, Vec3 centre, float xyAngle, float xzAngle, float yzAngle,
                           History* h = nullptr);
// Scales about `centre` by a factor per axis; the vertex order is kept.
EditResult scaleSelection(Model& m, Vec3 centre, Vec3 factors, History* h = nullptr);
// Removes the selected triangles; with `removeVerts` also the vertices only they use, the
// lines that end on those vertices, re-indexing everything that remains. "Deleted!".
EditResult deleteSelection(Model& m, bool removeVerts, History* h = nullptr);
// Mirrors the selection through the centre of its box along one axis.
EditResult flipSelection(Model& m, const Selection& s, Axis axis, History* h = nullptr);
// Exchanges the second and third corner of every selected triangle.
EditResult reverseFaces(Model& m);
