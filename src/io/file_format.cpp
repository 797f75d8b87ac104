#include "io/file_format.h"

#include <algorithm>
#include <cstring>

#include "io/binary_file.h"
#include "io/text_scan.h"

namespace {

bool startsWithWord(std::string_view text, std::string_view word) {
  size_t i = 0;
  while (i < text.size() && (isBlank(text[i]) || text[i] == '\n')) ++i;
  if (text.size() - i < word.size()) return false;
  for (size_t k = 0; k < word.size(); ++k)
    if (std::tolower(static_cast<unsigned char>(text[i + k])) != word[k]) return false;
  return text.size() == i + word.size() || isBlank(text[i + word.size()]) ||
         text[i + word.size()] == '\n';
}

// Text whose first statement (after blank and comment lines) is one OBJ knows.
bool looksLikeObj(std::string_view head) {
  if (head.empty() || std::memchr(head.data(), 0, head.size()) != nullptr) return false;  // binary
  static constexpr std::string_view kKeys[] = {"v", "vt", "vn", "vp", "f",      "g",
                                               "o", "s",  "l",  "p",  "mtllib", "usemtl"};
  TextLines lines(head);
  while (!lines.done()) {
    const size_t at = lines.position();
    TextLine line(lines.next());
    const std::string_view key = line.next();
    if (key.empty()) continue;
    if (lines.done() && at + key.size() >= head.size()) return false;  // cut off
    return std::find(std::begin(kKeys), std::end(kKeys), key) != std::end(kKeys);
  }
  return false;
}

}  // namespace

std::string lowerExtension(std::string_view name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || name.find('/', dot) != std::string_view::npos) return {};
  std::string ext(name.substr(dot));
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

FileFormat detectFormat(std::string_view head, int64_t size, std::string_view name) {
  if (head.size() >= 5 && head.substr(0, 5) == "RQNEW") return FileFormat::Rq;
  if (head.substr(0, 4) == "ply\n" || head.substr(0, 5) == "ply\r\n") return FileFormat::Ply;
  if (size >= 84 && head.size() >= 84) {
    const int32_t n = getI32(reinterpret_cast<const uint8_t*>(head.data()) + 80);
    if (n >= 0 && 84 + 50 * static_cast<int64_t>(n) == size) return FileFormat::Stl;
  }
  if (startsWithWord(head, "solid")) return FileFormat::Stl;
  if (looksLikeObj(head)) return FileFormat::Obj;
  const std::string ext = lowerExtension(name);
  if (ext == ".obj") return FileFormat::Obj;
  if (ext == ".ply") return FileFormat::Ply;
  return FileFormat::Stl;
}

FileFormat detectFormat(std::span<const uint8_t> file, std::string_view name) {
  const size_t head = std::min(file.size(), kFormatHeadBytes);
  return detectFormat(std::string_view(reinterpret_cast<const char*>(file.data()), head),
                      static_cast<int64_t>(file.size()), name);
}
