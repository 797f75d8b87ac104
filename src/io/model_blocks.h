// The header and the record blocks that RQ model files and part files share. A file is read
// whole into one buffer; these check the buffer's records and then copy them into the model
// arrays, so a file refused half-way has changed nothing and what is copied is exactly what
// was checked.
#pragma once

#include <cstdint>
#include <span>

#include "io/binary_file.h"
#include "model/model.h"

constexpr int64_t kRqHeaderBytes = 21;  // magic, three counts, colour flag
constexpr int64_t kRqNamesBytes = kPartGroups * kPartNameLength;
inline constexpr char kRqMagic[5] = {'R', 'Q', 'N', 'E', 'W'};

enum class MagicCheck { Rq, Other, Missing };

// The 5 leading bytes; Missing when the file is shorter.
MagicCheck readMagic(std::span<const uint8_t> file);

struct RqHeader {
  int32_t vertices = 0, triangles = 0, lines = 0, colorFlag = 0;
};
// The 16 bytes after the magic; false when the file ends before them.
bool readRqHeader(std::span<const uint8_t> file, RqHeader& h);

// The longest model or part file a model of these capacities reads: anything longer cannot
// fit (text STL, the longest form, takes a few times the bytes of binary STL per facet).
int64_t modelFileLimit(const Model& m);

// Checks on `count` records starting at `p` (the caller made sure they are all there).
bool checkVertices(const uint8_t* p, int32_t count);  // every coordinate finite
// `count` rows of `perRow` int32 indices, each 0 .. vertices - 1.
bool checkIndices(const uint8_t* p, int32_t count, int perRow, int32_t vertices);
bool checkFlagBytes(const uint8_t* p, int32_t count);  // part groups 0..99

// Copies of checked records into rows from `first` on.
void copyVertices(const uint8_t* p, Model& m, int32_t first, int32_t count);
// Adds `offset` to every index.
void copyTriangles(const uint8_t* p, Model& m, int32_t first, int32_t count, int32_t offset);
void copyFlagBytes(const uint8_t* p, Model& m, int32_t count);
void copyColors(const uint8_t* p, Model& m, int32_t first, int32_t count);
void copyLines(const uint8_t* p, Model& m, int32_t count);
void copyPartNames(const uint8_t* p, Model& m);
