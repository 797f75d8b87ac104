#include "io/mesh_export.h"

#include <array>
#include <charconv>

#include "io/binary_file.h"
#include "io/file_format.h"
#include "io/stl_file.h"

namespace {

constexpr EditResult kSaved{Request::Present, kMsgFileSaved};
constexpr EditResult kFailed{Request::Present, kMsgWriteFailed};

// Text and numbers through the writer (which buffers).
class TextOut {
 public:
  explicit TextOut(SafeFileWriter& out) : out_(out) {}
  void text(std::string_view s) { out_.put(s.data(), s.size()); }
  template <class Number>
  void number(Number v) {
    char tmp[32];
    const auto r = std::to_chars(tmp, tmp + sizeof tmp, v);  // shortest exact form
    out_.put(tmp, static_cast<size_t>(r.ptr - tmp));
  }

 private:
  SafeFileWriter& out_;
};

}  // namespace

std::string exportGroupName(const Model& m, int group) {
  std::string n = partName(m, group);
  while (!n.empty() && (n.back() == ' ' || n.back() == '\0')) n.pop_back();
  return n.empty() ? "group" + std::to_string(group) : n;
}

EditResult exportObj(const Model& m, const std::string& name) {
  SafeFileWriter file(name);
  {
    TextOut out(file);
    out.text("# KOVRIN model\n");
    for (int32_t i = 0; i < m.vertexCount; ++i) {
      const Vec3 p = m.vertexPos[i];
      out.text("v ");
      out.number(p.x);
      out.text(" ");
      out.number(p.y);
      out.text(" ");
      out.number(p.z);
      out.text("\n");
    }
    std::array<bool, kPartGroups> used{};
    for (int32_t t = 0; t < m.triangleCount; ++t) used[m.triFlags[t] & kGroupMask] = true;
    for (int g = 0; g < kPartGroups; ++g) {
      if (!used[g]) continue;
      out.text("g ");
      out.text(exportGroupName(m, g));
      out.text("\n");
      for (int32_t t = 0; t < m.triangleCount; ++t) {
        if ((m.triFlags[t] & kGroupMask) != g) continue;
        const Tri tri = m.triVerts[t];
        out.text("f ");
        out.number(tri.a + 1);
        out.text(" ");
        out.number(tri.b + 1);
        out.text(" ");
        out.number(tri.c + 1);
        out.text("\n");
      }
    }
    for (int32_t l = 0; l < m.lineCount; ++l) {
      out.text("l ");
      out.number(m.lineVerts[l].a + 1);
      out.text(" ");
      out.number(m.lineVerts[l].b + 1);
      out.text("\n");
    }
  }
  return file.commit() ? kSaved : kFailed;
}

EditResult exportPly(const Model& m, const std::string& name) {
  SafeFileWriter out(name);
  const std::string header =
      "ply\nformat binary_little_endian 1.0\ncomment KOVRIN model\nelement vertex " +
      std::to_string(m.vertexCount) +
      "\nproperty float x\nproperty float y\nproperty float z\nelement face " +
      std::to_string(m.triangleCount) +
      "\nproperty list uchar int vertex_indices\nproperty uchar red\nproperty uchar green\n"
      "property uchar blue\nend_header\n";
  out.put(header.data(), header.size());
  for (int32_t i = 0; i < m.vertexCount; ++i) out.putVec3(m.vertexPos[i]);
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    const Tri tri = m.triVerts[t];
    const uint16_t c = m.triColor[t];
    out.putU8(3);
    out.putI32(tri.a);
    out.putI32(tri.b);
    out.putI32(tri.c);
    out.putU8(static_cast<uint8_t>(((c >> 10) & 31) << 3));
    out.putU8(static_cast<uint8_t>(((c >> 5) & 31) << 3));
    out.putU8(static_cast<uint8_t>((c & 31) << 3));
  }
  return out.commit() ? kSaved : kFailed;
}

EditResult exportModel(const Model& m, const std::string& name) {
  const std::string ext = lowerExtension(name);
  if (ext == ".obj") return exportObj(m, name);
  if (ext == ".ply") return exportPly(m, name);
  return exportStl(m, name);
}
