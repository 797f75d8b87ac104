// Triangle compaction: removes the triangles whose flag byte says so and closes the gaps, the
// order of the rest kept. The corner indices, flags and colours of a history that records them
// itself (Change::Own) go to it whole, the model's rows being written into new blocks.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "model/history_keep.h"
#include "model/model.h"

inline bool hasRemoveMark(uint8_t flags) {
  return flags == kRemoveMark;
}

struct SameCorners {
  Tri operator()(Tri t) const { return t; }
};

// Keeps the triangles for which `removed(flags)` is false; with `Corners` other than
// SameCorners every kept triangle's corners go through `corners` (re-indexing).
template <class Removed, class Corners = SameCorners>
void compactTrianglesWith(Model& m, History* h, Removed removed, Corners corners = {}) {
  constexpr bool kSameCorners = std::is_same_v<Corners, SameCorners>;
  const int32_t n = m.triangleCount;
  int32_t first = 0;
  while (first < n && !removed(m.triFlags[first])) ++first;
  if (first == n && kSameCorners) return;
  // Few rows from the first removed one on: they are kept as they are and compacted in place;
  // else the arrays go to the history whole (keepRows and ownWhole do nothing without one).
  const bool inPlace = kSameCorners && first >= n / 2;
  if (inPlace) {
    keepRows(h, kHistTris, m.triVerts, first, n);
    keepRows(h, kHistFlags, m.triFlags, first, n);
    keepRows(h, kHistColors, m.triColor, first, n);
  }
  const bool whole = !inPlace && first < n;  // flags and colours move only from `first` on
  const Tri* fromTris = inPlace ? m.triVerts.data() : ownWhole(h, kHistTris, m.triVerts, n);
  const uint8_t* fromFlags = whole ? ownWhole(h, kHistFlags, m.triFlags, n) : m.triFlags.data();
  const uint16_t* fromColors = whole ? ownWhole(h, kHistColors, m.triColor, n) : m.triColor.data();
  Tri* toTris = m.triVerts.data();
  uint8_t* toFlags = m.triFlags.data();
  uint16_t* toColors = m.triColor.data();
  // The rows before the first removed one keep their place.
  if (!kSameCorners || fromTris != toTris)
    for (int32_t r = 0; r < first; ++r) toTris[r] = corners(fromTris[r]);
  if (fromFlags != toFlags) std::memcpy(toFlags, fromFlags, static_cast<size_t>(first));
  if (fromColors != toColors)
    std::memcpy(toColors, fromColors, static_cast<size_t>(first) * sizeof(uint16_t));
  int32_t w = first;
  for (int32_t r = first; r < n; ++r) {
    const uint8_t f = fromFlags[r];
    if (removed(f)) continue;
    toTris[w] = corners(fromTris[r]);
    toFlags[w] = f;
    toColors[w] = fromColors[r];
    m.triNormal[w] = m.triNormal[r];
    ++w;
  }
  m.triangleCount = w;
}
