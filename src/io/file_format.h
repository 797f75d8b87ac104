// Which reader a model file goes to: decided by its content, falling back to its extension.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/binary_file.h"

enum class FileFormat { Rq, Stl, Obj, Ply };

// `head` is the file's first bytes (up to kFormatHeadBytes), `size` its length. RQ by its
// magic, PLY by its first line, binary STL by a facet count that matches the length, text
// STL by "solid", OBJ by a first statement of its own (text only); otherwise by the
// extension .obj or .ply; anything else goes to the STL import, which refuses what it
// cannot read.
FileFormat detectFormat(std::string_view head, int64_t size, std::string_view name);
constexpr size_t kFormatHeadBytes = 1024;

// The format of an open file (read position afterwards: the start).
FileFormat detectFormat(FileReader& file, std::string_view name);

// A whole file's bytes (not zero-filled first: every byte is read into place).
struct FileBytes {
  std::unique_ptr<char[]> data;
  size_t size = 0;
  std::string_view view() const { return {data.get(), size}; }
};

// The whole file's bytes; false when a read fails. The one place where OBJ and PLY files are
// read, so that it can become the shared whole-file read.
bool readWholeFile(FileReader& file, FileBytes& out);

// The extension of a name in lower case, with its dot (".obj"), or "".
std::string lowerExtension(std::string_view name);
