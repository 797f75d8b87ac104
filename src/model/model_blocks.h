// The header and the record blocks that RQ model files and part files share: checked in one
// pass over the file, then read into the model arrays in a second, so that a file refused
// half-way has changed nothing.
#pragma once

#include <cstdint>

#include "model/binary_file.h"
#include "model/model.h"

constexpr int64_t kRqHeaderBytes = 21;  // magic, three counts, colour flag
constexpr int64_t kRqNamesBytes = kPartGroups * kPartNameLength;
inline constexpr char kRqMagic[5] = {'R', 'Q', 'N', 'E', 'W'};

enum class MagicCheck { Rq, Other, Missing };

// Reads the 5 leading bytes; Missing when the file is shorter.
MagicCheck readMagic(FileReader& file);

struct RqHeader {
  int32_t vertices = 0, triangles = 0, lines = 0, colorFlag = 0;
};
// The 16 bytes after the magic; false when the file ends before them.
bool readRqHeader(FileReader& file, RqHeader& h);

// Checking pass: each returns false at the end of the file or on a bad record.
bool checkVertices(FileReader& file, int32_t count);  // every coordinate finite
// `count` rows of `perRow` int32 indices, each 0 .. vertices - 1.
bool checkIndices(FileReader& file, int32_t count, int perRow, int32_t vertices);
bool checkFlagBytes(FileReader& file, int32_t count);  // part groups 0..99
bool skipBytes(FileReader& file, int64_t n);

// Reading pass, into rows from `first` on.
bool readVertices(FileReader& file, Model& m, int32_t first, int32_t count);
// Adds `offset` to every index read.
bool readTriangles(FileReader& file, Model& m, int32_t first, int32_t count, int32_t offset);
bool readFlagBytes(FileReader& file, Model& m, int32_t count);
bool readColors(FileReader& file, Model& m, int32_t first, int32_t count);
bool readLines(FileReader& file, Model& m, int32_t count);
bool readPartNames(FileReader& file, Model& m);
