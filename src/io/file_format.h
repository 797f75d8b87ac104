// Which reader a model file goes to: decided by its content, falling back to its extension.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

enum class FileFormat { Rq, Stl, Obj, Ply };

// `head` is the file's first bytes (up to kFormatHeadBytes), `size` its length. RQ by its
// magic, PLY by its first line, binary STL by a facet count that matches the length, text
// STL by "solid", OBJ by a first statement of its own (text only); otherwise by the
// extension .obj or .ply; anything else goes to the STL import, which refuses what it
// cannot read.
FileFormat detectFormat(std::string_view head, int64_t size, std::string_view name);
constexpr size_t kFormatHeadBytes = 1024;

// The format of a whole file's bytes.
FileFormat detectFormat(std::span<const uint8_t> file, std::string_view name);

// The extension of a name in lower case, with its dot (".obj"), or "".
std::string lowerExtension(std::string_view name);
