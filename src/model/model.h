// The model store: fixed arrays sized once from the capacities, plus three counts. Rows past
// the counts stay untouched (and cost no memory) until an element is written there.
// Adding an element writes row `count` and increments it; removing compacts in place.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/fixed_array.h"

struct Vec3 {
  float x, y, z;
};
struct Tri {
  int32_t a, b, c;
};
struct Line {
  int32_t a, b;
};

constexpr int kPartGroups = 100;
constexpr int kPartNameLength = 12;
constexpr uint8_t kSelectedBit = 0x80;
constexpr uint8_t kGroupMask = 0x7F;
constexpr uint8_t kRemoveMark = 127;  // flag byte of a triangle that compactTriangles drops

// Where a bounding box starts before its first point (and the lowest z of an empty selection).
constexpr float kEmptyBoxBound = 1.0e9f;

// Centre of the selection's bounding box, recomputed after every render.
struct Selection {
  Vec3 selectionCenter{0, 0, 0};         // centre of the bounding box of the selected corners
  float selectionMinZ = kEmptyBoxBound;  // lowest z of that box
};

// Default capacities (settings keys maxv, maxt, maxl).
constexpr int32_t kDefaultMaxv = 1000000;
constexpr int32_t kDefaultMaxt = 1000000;
constexpr int32_t kDefaultMaxl = 1000;

struct Model {
  int32_t maxv = 0, maxt = 0, maxl = 0;  // capacities; every array has capacity + 1 rows
  int32_t vertexCount = 0, triangleCount = 0, lineCount = 0;

  FixedArray<Vec3> vertexPos;       // x, y, z in model units
  FixedArray<Vec3> vertexProj;      // frame x, y relative to the view centre, then depth
  FixedArray<int32_t> vertexMark;   // scratch: per-vertex marks of one editing operation
  FixedArray<int32_t> vertexRemap;  // scratch: new index of each kept vertex
  FixedArray<Tri> triVerts;         // corner indices a, b, c
  FixedArray<Vec3> triNormal;       // unit normal (b - a) x (c - b), derived
  FixedArray<uint8_t> triFlags;     // bit 7 selected, bits 0..6 part group 0..99
  FixedArray<uint16_t> triColor;    // 5:5:5 colour word, red high
  FixedArray<Line> lineVerts;       // the two ends of a line segment

  // 100 names of 12 characters, each followed by a zero byte.
  std::array<std::array<char, kPartNameLength + 1>, kPartGroups> partNames{};
};

// Bytes the arrays need for the given capacities (64-bit, never wraps).
uint64_t modelBytesFor(int64_t maxv, int64_t maxt, int64_t maxl);

// Allocates every array zero-filled (pages of zeros from the system, touched on first use). Returns
// an empty string on success, else a message naming what could not be allocated; the model is then
// left without arrays.
std::string allocateModel(Model& m, int32_t maxv, int32_t maxt, int32_t maxl);

// Puts the nine-vertex pyramid with its square of lines in place. Returns false (and leaves
// an empty model) when the capacities are too small for it.
bool putDefaultModel(Model& m);

// What a zero-length normal is divided by (it stays zero), in the scalar and the vector path.
constexpr float kZeroNormalDivisor = 1000000.0f;

void recomputeNormals(Model& m);
void clearTriangleFlags(Model& m);

// Part-group names: the first 12 characters of `name`, the rest of the record zero bytes.
void setPartName(Model& m, int group, std::string_view name);
std::string partName(const Model& m, int group);  // the 12 characters, zeros as blanks

// 5:5:5 colour word from three channel values; only their low five bits count.
inline uint16_t colorWord(int32_t red, int32_t green, int32_t blue) {
  return static_cast<uint16_t>(((red & 31) << 10) + ((green & 31) << 5) + (blue & 31));
}
