// Shared set-up of the benchmarks: one million-triangle torus built once per process, the
// standard camera, and files in a scratch folder.
#pragma once

#include <cstddef>
#include <string>

#include "model/model.h"
#include "render/camera.h"
#include "render/render_buffers.h"

// The 1,000,000-triangle torus (500,000 vertices) in a model of 1,000,000 vertices and
// 1,100,000 triangles. Built
// on the first call; later calls restore it if a benchmark changed it.
Model& benchTorus();
// Rebuilds the torus in place (after an edit).
void resetBenchTorus();
// The start-up camera for the given frame: the torus fills about a quarter of the frame.
Camera benchCamera(const RenderBuffers& rb);
// A path in the benchmarks' scratch folder (created on first use).
std::string benchPath(const std::string& leaf);
// The torus as binary STL in the scratch folder, written on first use.
std::string torusStl(bool shuffled);

// FNV-1a over raw bytes, shown as a counter so runs of two builds can be compared for
// bit-identical output (the low 32 bits; a double holds them exactly).
double checksum(const void* data, size_t bytes);
