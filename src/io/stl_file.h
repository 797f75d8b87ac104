// Binary STL export, and the import of binary and text STL files with welded corners.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "io/binary_file.h"
#include "model/edit_result.h"
#include "model/model.h"

// Called before facet i (every kProgressStep-th facet, from 0) of an import of n facets.
constexpr int32_t kProgressStep = 128;
using ImportProgress = std::function<void(int32_t i, int32_t n)>;

// Writes every triangle as one facet: 80 blank bytes, the count, then per triangle its stored
// normal, its three corners and its colour word. "File saved." or "Error: write failed" (the
// old file then unchanged).
EditResult exportStl(const Model& m, const std::string& name);

// Replaces the model's vertices and triangles by the facets of a file's bytes (the whole
// file, from its start). Binary when the file is at least 84 bytes long and holds the facets its
// count declares; otherwise text when it starts with "solid". A file that is neither, or that is
// short, malformed or holds a coordinate that is not finite, changes nothing and gives
// "Error: damaged file"; a file without facets changes nothing and gives "Error: no facets
// in file". On success lines, selection and part groups are cleared; the message is none,
// or a capacity message when the import stopped at maxv vertices or maxt triangles (what was
// imported up to there stays).
EditResult importStl(Model& m, std::span<const uint8_t> file, const ImportProgress& progress);

// The progress line text: "importing stl... " then i, "/", n and a blank, each number with
// a leading blank when it is not negative.
std::string importProgressText(int32_t i, int32_t n);
