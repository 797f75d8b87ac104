// The whole model as bytes (counts, every array up to its count, the part names), for
// comparing a model against an earlier state of itself bit for bit.
#pragma once

#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

#include "model/model.h"

struct ModelSnapshot {
  int32_t vertexCount = 0, triangleCount = 0, lineCount = 0;
  std::vector<std::byte> bytes;
  bool operator==(const ModelSnapshot&) const = default;
};

namespace snapshot_detail {
template <class Rows>
void append(std::vector<std::byte>& out, const Rows& rows, int32_t count) {
  using T = std::remove_cvref_t<decltype(rows[0])>;
  if (count <= 0) return;
  const auto* first = static_cast<const std::byte*>(static_cast<const void*>(rows.data()));
  out.insert(out.end(), first, first + static_cast<size_t>(count) * sizeof(T));
}
}  // namespace snapshot_detail

inline ModelSnapshot snapshotOf(const Model& m) {
  ModelSnapshot s{m.vertexCount, m.triangleCount, m.lineCount, {}};
  snapshot_detail::append(s.bytes, m.vertexPos, m.vertexCount);
  snapshot_detail::append(s.bytes, m.triVerts, m.triangleCount);
  snapshot_detail::append(s.bytes, m.triFlags, m.triangleCount);
  snapshot_detail::append(s.bytes, m.triColor, m.triangleCount);
  snapshot_detail::append(s.bytes, m.lineVerts, m.lineCount);
  for (const auto& name : m.partNames)
    for (const char c : name) s.bytes.push_back(static_cast<std::byte>(c));
  return s;
}

// "" when equal, else the counts of both, for a failure message.
inline std::string snapshotDifference(const ModelSnapshot& want, const ModelSnapshot& got) {
  if (want == got) return {};
  const auto counts = [](const ModelSnapshot& s) {
    return std::to_string(s.vertexCount) + "/" + std::to_string(s.triangleCount) + "/" +
           std::to_string(s.lineCount);
  };
  return "model differs: want counts " + counts(want) + ", got " + counts(got);
}
